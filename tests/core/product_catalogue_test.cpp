#include "core/product_catalogue.hpp"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <limits>
#include <optional>

#include "hostile_files.hpp"
#include "qstring_printer.hpp"
#include "recording_windows.hpp"
#include "test_context.hpp"

using namespace core;
using shelltest::registerRecordingWindows;

namespace {

constexpr char kCatalogue[] =
    "\"TQ73RN products\"\r\n"
    "\"VEL-C\",2,4,1,1,\"0\",0\r\n"
    "\"VEL-D\",3,4,1,1,\"0\",0\r\n"
    "\"SOLA-A\",999,4,1,1,\"0\",0\r\n"
    "\"SOLT-A\",1,256,1,1,\"0\",0\r\n"
    "\"ISO14443-B\",2,4,1,1,\"0\",0\r\n"
    "\"TOPAZ\",1,8,1,1,\"T\",5\r\n"
    "\"ISO18092\",1,128,1,1,\"0\",0\r\n"
    "\"VEL-C\",64,32,2,2,\"1\",9\r\n"
    "\"vels-a\",2,4,1,1,\"0\",0\r\n";

struct SelectionFixture : ::testing::Test {
    testsupport::TestContext t;
    QStringList journal;

    SelectionFixture() {
        registerRecordingWindows(*t.ctx, journal,
                                 {{core::WindowKind::StartupDetection, "detection"},
                                  {core::WindowKind::Console, "console"},
                                  {core::WindowKind::Iso15693, "15693"},
                                  {core::WindowKind::Iso14443A, "14443A"},
                                  {core::WindowKind::Iso14443B, "14443B"},
                                  {core::WindowKind::Iso18092, "18092"},
                                  {core::WindowKind::Script, "script"},
                                  {core::WindowKind::TagDetection, "tagdetect"},
                                  {core::WindowKind::AutoDetect, "autodetect"},
                                  {core::WindowKind::About, "about"}});
    }
    ~SelectionFixture() override {
        for (int k = 0; k <= static_cast<int>(core::WindowKind::About); ++k) {
            t.ctx->windows().close(static_cast<core::WindowKind>(k));
        }
    }
    void writeProducts(const QByteArray& content) {
        QFile f(t.path(QLatin1String(core::kProductsFileName)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }
    // Every window the fixture has, the console among them.
    void openAll() {
        for (int k = 0; k <= static_cast<int>(core::WindowKind::About); ++k) {
            const auto kind = static_cast<core::WindowKind>(k);
            if (t.ctx->windows().hasFactory(kind)) t.ctx->windows().show(kind);
        }
        journal.clear();
    }
};

TEST_F(SelectionFixture, FoundProductReplacesSelectionGeometryAndFamilyWindow) {
    writeProducts(kCatalogue);
    openAll();
    SelectProduct(*t.ctx, QStringLiteral("VEL-C"));

    const core::Product expected{QStringLiteral("VEL-C"), 2, 4, 1, 1, QStringLiteral("0"), 0};
    EXPECT_EQ(t.values().SelectedProduct, expected);
    EXPECT_EQ(t.values().MemorySizeBytes, 256);
    EXPECT_EQ(t.values().BlockSizeBytes, 4);
    EXPECT_EQ(t.values().AddressMask, 63);
    // Every tag and tool window closes, in its order, and the ISO15693 window comes back
    // fresh; the console stays.
    EXPECT_EQ(journal,
              (QStringList{"unload detection", "unload 14443A", "unload 14443B", "unload 18092",
                           "unload 15693", "unload script", "unload tagdetect", "unload autodetect",
                           "unload about", "load 15693"}));
    ASSERT_NE(t.ctx->windows().find(core::WindowKind::Console), nullptr);
    core::ToolWindow* w = t.ctx->windows().find(core::WindowKind::Iso15693);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("   ISO15693  user interface  VEL-C"));
    EXPECT_TRUE(t.ui.messages().empty());
}

TEST_F(SelectionFixture, LookupRulesAndGeometry) {
    writeProducts(kCatalogue);
    struct Case {
        const char* caption;
        const char* reference;
        int density, pageSize, memory, mask;
        core::WindowKind window;
        const char* title;
    };
    const Case cases[] = {
        // The first of two records with the same reference wins.
        {"VEL-C", "VEL-C", 2, 4, 256, 63, core::WindowKind::Iso15693,
         "   ISO15693  user interface  VEL-C"},
        {"VEL-D", "VEL-D", 3, 4, 384, 95, core::WindowKind::Iso15693,
         "   ISO15693  user interface  VEL-D"},
        // SOLA-A and SOLT-A: 64 bytes whatever their density says (the address boxes'
        // width), but they address the four-byte blocks of their density, so a page larger
        // than their memory takes no block away.
        {"SOLA-A", "SOLA-A", 999, 4, 64, 31967, core::WindowKind::Iso14443B,
         "   ISO14443-B  user interface  SOLA-A"},
        {"SOLT-A", "SOLT-A", 1, 256, 64, 31, core::WindowKind::Iso14443B,
         "   ISO14443-B  user interface  SOLT-A"},
        // A menu caption is looked up by its first word.
        {"ISO14443-B Cards commands", "ISO14443-B", 2, 4, 256, 63, core::WindowKind::Iso14443B,
         "   ISO14443-B  user interface  ISO14443-B"},
        // One page as large as the whole memory: one block, block 0.
        {"ISO18092", "ISO18092", 1, 128, 128, 0, core::WindowKind::Iso18092,
         "   ISO18092  user interface  ISO18092"},
        // Last: its TestMode and Address are checked below.
        {"TOPAZ", "TOPAZ", 1, 8, 128, 15, core::WindowKind::Iso14443A,
         "   ISO14443-A  user interface  TOPAZ"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        SelectProduct(*t.ctx, QString::fromLatin1(c.caption));
        const core::ProgramValues& v = t.values();
        EXPECT_EQ(v.SelectedProduct.Reference, QLatin1String(c.reference));
        EXPECT_EQ(v.SelectedProduct.Density, c.density);
        EXPECT_EQ(v.SelectedProduct.PageSize, c.pageSize);
        EXPECT_EQ(v.MemorySizeBytes, c.memory);
        EXPECT_EQ(v.AddressMask, c.mask);
        core::ToolWindow* w = t.ctx->windows().find(c.window);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->windowTitle(), QLatin1String(c.title));
    }
    EXPECT_EQ(t.values().SelectedProduct.TestMode, QStringLiteral("T"));
    EXPECT_EQ(t.values().SelectedProduct.Address, 5);
}

// A product that cannot be selected leaves every value and every window as it was.
TEST_F(SelectionFixture, UnusableSelectionChangesNothing) {
    struct Case {
        const char* name;
        const char* caption;
        std::optional<QByteArray> content;  // nullopt: no products file at all
        const char* message;                // nullptr: silently nothing
        bool unreadable = false;            // a folder stands where the file should be
    };
    const Case cases[] = {
        {"not in file", "VELS-CX", QByteArray(kCatalogue), nullptr},
        {"letter case", "VELS-A", QByteArray(kCatalogue), nullptr},
        {"heading only", "VEL-C", QByteArray("\"TQ73RN products\"\r\n"), nullptr},
        {"no file", "VEL-C", std::nullopt, "File 'TQ73RN_products.ini' is missing"},
        {"empty file", "VEL-C", QByteArray(""), "File 'TQ73RN_products.ini': the file is empty."},
        {"page size 0", "VEL-C", QByteArray("h\n\"VEL-C\",2,0,1,1,\"0\",0\n"),
         "File 'TQ73RN_products.ini': the PageSize of \"VEL-C\" is 0; it must be 1 or more."},
        {"short last record", "VEL-C", QByteArray("h\n\"VEL-D\",2,4,1,1,\"0\",0\n\"VEL-C\",2,4\n"),
         "File 'TQ73RN_products.ini': the last record (\"VEL-C\") has 3 of its 7 items."},
        // A density that gives no memory would give no block either: an address mask of -1
        // masks nothing, whatever the product (SOLT-A takes its mask from its density too).
        {"density 0", "VEL-C", QByteArray("h\n\"VEL-C\",0,4,1,1,\"0\",0\n"),
         "File 'TQ73RN_products.ini': the Density of \"VEL-C\" is 0 kbit; it must be 1 or more."},
        {"density 0 of a small memory tag", "SOLT-A", QByteArray("h\n\"SOLT-A\",0,4,1,1,\"0\",0\n"),
         "File 'TQ73RN_products.ini': the Density of \"SOLT-A\" is 0 kbit; it must be 1 or "
         "more."},
        {"negative density", "SOLA-A", QByteArray("h\n\"SOLA-A\",-4,4,1,1,\"0\",0\n"),
         "File 'TQ73RN_products.ini': the Density of \"SOLA-A\" is -4 kbit; it must be 1 or "
         "more."},
        // A page larger than the memory leaves no block: the mask would be -1 again.
        {"page larger than the memory", "VEL-C", QByteArray("h\n\"VEL-C\",1,256,1,1,\"0\",0\n"),
         "File 'TQ73RN_products.ini': the PageSize of \"VEL-C\" is 256 bytes, more than the "
         "128 bytes of its Density of 1 kbit; it must be 128 or less."},
        {"density overflow", "VEL-C", QByteArray("h\n\"VEL-C\",2097152,4,1,1,\"0\",0\n"),
         "File 'TQ73RN_products.ini': the Density of \"VEL-C\" (2097152 kbit) is not a memory "
         "size the program can use."},
        {"not a number", "VEL-C", QByteArray("h\n\"VEL-D\",2,four,1,1,\"0\",0\n"),
         "File 'TQ73RN_products.ini': the PageSize of \"VEL-D\" is \"four\", which is not a "
         "whole number."},
        // Without its heading line every record would be read shifted by one item.
        {"no heading", "VEL-D",
         QByteArray("\"VEL-C\",2,4,1,1,\"0\",0\r\n\"VEL-D\",4,4,1,1,\"0\",0\r\n"),
         "File 'TQ73RN_products.ini': the heading line is missing: the first line is already "
         "the record of \"VEL-C\"."},
        // There but not readable: the user must not be sent looking for a missing file.
        {"unreadable", "VEL-C", std::nullopt,
         "File 'TQ73RN_products.ini': the file is there but cannot be read.", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeProducts(kCatalogue);
        SelectProduct(*t.ctx, QStringLiteral("VEL-D"));
        openAll();
        const core::ProgramValues before = t.values();

        if (c.content) {
            writeProducts(*c.content);
        } else {
            QFile::remove(t.path(QLatin1String(core::kProductsFileName)));
        }
        if (c.unreadable) {
            ASSERT_TRUE(QDir().mkdir(t.path(QLatin1String(core::kProductsFileName))));
        }
        const std::size_t shown = t.ui.messages().size();
        t.ui.allowAnyMessage();
        SelectProduct(*t.ctx, QString::fromLatin1(c.caption));
        t.ui.allowAnyMessage(false);
        if (c.unreadable) QDir().rmdir(t.path(QLatin1String(core::kProductsFileName)));

        EXPECT_TRUE(journal.isEmpty()) << journal.join(QLatin1Char(',')).toStdString();
        EXPECT_EQ(t.values().SelectedProduct, before.SelectedProduct);
        EXPECT_EQ(t.values().MemorySizeBytes, before.MemorySizeBytes);
        EXPECT_EQ(t.values().AddressMask, before.AddressMask);
        if (!c.message) {
            EXPECT_EQ(t.ui.messages().size(), shown);
            continue;
        }
        ASSERT_EQ(t.ui.messages().size(), shown + 1);
        const auto& m = t.ui.messages().back();
        EXPECT_EQ(m.text, QLatin1String(c.message));
        EXPECT_EQ(m.title, QStringLiteral("DEMO-TQ73RN-A"));
        EXPECT_EQ(m.icon, core::MsgIcon::Critical);
        EXPECT_EQ(m.buttons, core::MsgButtons::Ok);
    }
}

// Whatever stands under the file's name, the selection neither hangs nor reads without
// end: anything but a regular file of a few MB is told as a file that cannot be read.
TEST_F(SelectionFixture, AProductsFileThatIsNoSmallRegularFileIsRefusedLikeAnUnreadableOne) {
    const QString path = t.path(QLatin1String(core::kProductsFileName));
    for (testsupport::HostileFile kind : testsupport::kHostileFiles) {
        SCOPED_TRACE(testsupport::hostileFileName(kind));
        // The huge one holds sound records only.
        ASSERT_TRUE(
            testsupport::makeHostileFile(path, kind, kCatalogue, "\"VEL-D\",3,4,1,1,\"0\",0\r\n"));
        testsupport::FifoRescue rescue(path);
        const std::size_t shown = t.ui.messages().size();
        t.ui.allowAnyMessage();
        SelectProduct(*t.ctx, QStringLiteral("VEL-C"));
        t.ui.allowAnyMessage(false);
        EXPECT_FALSE(rescue.fired()) << "the selection waited on the FIFO";
        EXPECT_EQ(t.ui.messages().size(), shown + 1);
        if (t.ui.messages().size() > shown) {
            EXPECT_EQ(t.ui.messages().back().text,
                      QStringLiteral(
                          "File 'TQ73RN_products.ini': the file is there but cannot be read."));
        }
        EXPECT_TRUE(journal.isEmpty());
        EXPECT_EQ(t.values().SelectedProduct, core::Product{});
    }
}

// A second product chosen while the first one's window loads (and pumps events) is
// ignored: it would close the window still loading.
TEST(ProductSelection, NotReenteredWhileItsWindowLoads) {
    testsupport::TestContext t;
    QStringList journal;
    QFile f(t.path(QLatin1String(core::kProductsFileName)));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(kCatalogue);
    f.close();
    registerRecordingWindows(*t.ctx, journal, {{core::WindowKind::Iso15693, "15693"}},
                             [&] { SelectProduct(*t.ctx, QStringLiteral("VEL-D")); });
    SelectProduct(*t.ctx, QStringLiteral("VEL-C"));
    EXPECT_EQ(journal, QStringList{"load 15693"});
    EXPECT_EQ(t.values().SelectedProduct.Reference, QStringLiteral("VEL-C"));
    core::ToolWindow* w = t.ctx->windows().find(core::WindowKind::Iso15693);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("   ISO15693  user interface  VEL-C"));
    // Once the selection has returned, the next one goes through.
    SelectProduct(*t.ctx, QStringLiteral("VEL-D"));
    EXPECT_EQ(t.values().SelectedProduct.Reference, QStringLiteral("VEL-D"));
    t.ctx->windows().close(core::WindowKind::Iso15693);
}

// Every product a menu entry names must be selectable from the file the program ships.
TEST(ProductsFileReader, ShippedFileHasEveryMenuProduct) {
    QFile f(QStringLiteral(TQ_DATA_DIR "/TQ73RN_products.ini"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray content = f.readAll();
    for (const char* key : {"VEL-C", "VEL-D", "VELS-A", "VELS-CX", "DUONX-AE", "DUONX-BE",
                            "DUONX-C", "DUONX-DE", "ISO14443-B", "SOLA-A", "SOLT-A", "SOLA-B",
                            "SOLA-C", "SOLX-A", "ISO14443-A", "TOPAZ", "ISO18092"}) {
        const core::ProductLookup r = core::findProduct(content, QLatin1String(key));
        EXPECT_EQ(r.outcome, core::ProductLookup::Outcome::Found)
            << key << " " << r.problem.toStdString();
        EXPECT_TRUE(core::productFamily(QLatin1String(key)).has_value()) << key;
    }
}

TEST(ProductsFileReader, ItemSyntax) {
    // Unquoted items, blanks, LF-only and CR-only line ends, records across lines.
    const QByteArray content =
        "heading, more\r"
        "VEL-C , 2 ,4\n1,1,\"a, b\" trailing ,-7\r\n\r\n";
    const core::ProductLookup r = core::findProduct(content, QStringLiteral("VEL-C"));
    ASSERT_EQ(r.outcome, core::ProductLookup::Outcome::Invalid);  // "more" shifts the record
    const core::ProductLookup ok = core::findProduct(
        "heading\rVEL-C , 2 ,4\n1,1,\"a, b\" trailing ,-7\r\n\r\n", QStringLiteral("VEL-C"));
    ASSERT_EQ(ok.outcome, core::ProductLookup::Outcome::Found) << ok.problem.toStdString();
    EXPECT_EQ(ok.product,
              (core::Product{QStringLiteral("VEL-C"), 2, 4, 1, 1, QStringLiteral("a, b"), -7}));
}

// A message shows a short, printable piece of a bad item, however large or binary it is.
TEST(ProductsFileReader, AMessageQuotesAShortPrintablePieceOfTheItem) {
    const QByteArray longItem(2 * 1024 * 1024, 'x');
    const struct {
        const char* name;
        QByteArray content;
        const char* problem;
    } cases[] = {
        {"2 MB number", "h\nVEL-C,2," + longItem + ",1,1,0,0\n",
         "File 'TQ73RN_products.ini': the PageSize of \"VEL-C\" is "
         "\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\", which is not a whole number."},
        {"2 MB reference", "h\n" + longItem + ",two,4,1,1,0,0\n",
         "File 'TQ73RN_products.ini': the Density of "
         "\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\" is \"two\", which is not a whole number."},
        {"control characters", "h\nVEL-C,2,4\x01\x7f\x9b\xa0\xe9,1,1,0,0\n",
         "File 'TQ73RN_products.ini': the PageSize of \"VEL-C\" is \"4???\xc2\xa0\xc3\xa9\", which "
         "is not a whole number."},
        {"exactly 40", "h\nVEL-C,2," + QByteArray(40, 'y') + ",1,1,0,0\n",
         "File 'TQ73RN_products.ini': the PageSize of \"VEL-C\" is "
         "\"yyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyyy\", which is not a whole number."},
        {"short last record", "h\n" + longItem + ",2\n",
         "File 'TQ73RN_products.ini': the last record "
         "(\"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx...\") has 2 of its 7 items."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const core::ProductLookup r = core::findProduct(c.content, QStringLiteral("VEL-C"));
        EXPECT_EQ(r.outcome, core::ProductLookup::Outcome::Invalid);
        EXPECT_EQ(r.problem, QString::fromUtf8(c.problem));
    }
}

// An item a message quotes comes out as the file holds it, even when it reads like the
// places the message fills ("%1", "%2", ...).
TEST(ProductsFileReader, AQuotedItemHoldingPercentPlacesIsShownAsWritten) {
    const QString reference = QStringLiteral("%2%1 %4%3");
    const struct {
        const char* name;
        const char* content;
        const char* problem;  // after "File 'TQ73RN_products.ini': "
    } cases[] = {
        {"density 0", "h\n\"%2%1 %4%3\",0,4,1,1,0,0\n",
         "the Density of \"%2%1 %4%3\" is 0 kbit; it must be 1 or more."},
        {"density too large", "h\n\"%2%1 %4%3\",2097152,4,1,1,0,0\n",
         "the Density of \"%2%1 %4%3\" (2097152 kbit) is not a memory size the program can "
         "use."},
        {"page size 0", "h\n\"%2%1 %4%3\",2,0,1,1,0,0\n",
         "the PageSize of \"%2%1 %4%3\" is 0; it must be 1 or more."},
        {"page larger than the memory", "h\n\"%2%1 %4%3\",1,256,1,1,0,0\n",
         "the PageSize of \"%2%1 %4%3\" is 256 bytes, more than the 128 bytes of its Density of "
         "1 kbit; it must be 128 or less."},
        {"short last record", "h\n\"%2%1 %4%3\",2\n",
         "the last record (\"%2%1 %4%3\") has 2 of its 7 items."},
        {"not a number", "h\n\"%2%1 %4%3\",2,\"%3%1\",1,1,0,0\n",
         "the PageSize of \"%2%1 %4%3\" is \"%3%1\", which is not a whole number."},
        {"no heading", "\"%2%1 %4%3\",1,1,1,1,x,1\n",
         "the heading line is missing: the first line is already the record of \"%2%1 %4%3\"."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const core::ProductLookup r = core::findProduct(c.content, reference);
        EXPECT_EQ(r.outcome, core::ProductLookup::Outcome::Invalid);
        EXPECT_EQ(r.problem,
                  QStringLiteral("File 'TQ73RN_products.ini': ") + QLatin1String(c.problem));
    }
}

// Only a first line that is a whole record means the heading is missing; a heading of
// several items, or records spread over lines, read as before.
TEST(ProductsFileReader, TheHeadingIsMissingOnlyWhenTheFirstLineIsARecord) {
    const struct {
        const char* content;
        core::ProductLookup::Outcome outcome;
    } cases[] = {
        {"A,1,1,1,1,x,1\nB,1,1,1,1,x,1\n", core::ProductLookup::Outcome::Invalid},
        {"  A , 1 ,1,1,1,\"x\",1\r\n", core::ProductLookup::Outcome::Invalid},
        {"\r\n\r\nA,1,1,1,1,x,1\n", core::ProductLookup::Outcome::Invalid},
        {"h,A,1,1,1,1,x\n1\n", core::ProductLookup::Outcome::Found},
        {"h\nA,1,1\n1,1,x,1\n", core::ProductLookup::Outcome::Found},
    };
    for (const auto& c : cases) {
        const core::ProductLookup r = core::findProduct(c.content, QStringLiteral("A"));
        EXPECT_EQ(r.outcome, c.outcome) << c.content << " " << r.problem.toStdString();
        if (c.outcome == core::ProductLookup::Outcome::Invalid) {
            EXPECT_TRUE(r.problem.contains(QStringLiteral("heading line is missing")));
        }
    }
}

TEST(ProductsFileReader, RecordsAfterTheMatchAreNotRead) {
    const core::ProductLookup r =
        core::findProduct("h\nA,1,1,1,1,x,1\nB,oops", QStringLiteral("A"));
    EXPECT_EQ(r.outcome, core::ProductLookup::Outcome::Found);
}

// A number item is a decimal whole number of 32 bits; an empty item reads as 0. The
// Address item shows it, since no other rule of the record looks at it.
TEST(ProductsFileReader, ANumberItemIsADecimalWholeNumberOf32Bits) {
    const struct {
        const char* item;
        std::optional<std::int32_t> address;  // nullopt: the file is refused
    } cases[] = {
        {"0", 0},
        {"5", 5},
        {"010", 10},  // decimal, leading zero or not
        {"-7", -7},
        {"", 0},
        {"2147483647", 2147483647},
        {"-2147483648", std::numeric_limits<std::int32_t>::min()},
        {"2147483648", std::nullopt},
        {"-2147483649", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"0x10", std::nullopt},
        {"1F", std::nullopt},
        {"1.5", std::nullopt},
        {"1e3", std::nullopt},
        {"12abc", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.item);
        const QByteArray content = QByteArray("h\nA,1,1,1,1,x,") + c.item + "\n";
        const core::ProductLookup r = core::findProduct(content, QStringLiteral("A"));
        if (!c.address) {
            EXPECT_EQ(r.outcome, core::ProductLookup::Outcome::Invalid);
            EXPECT_TRUE(r.problem.contains(QStringLiteral("the Address of \"A\"")))
                << r.problem.toStdString();
            continue;
        }
        ASSERT_EQ(r.outcome, core::ProductLookup::Outcome::Found) << r.problem.toStdString();
        EXPECT_EQ(r.product.Address, *c.address);
    }
}

// The memory is the density in bytes (kbit times 1024, over 8), 64 bytes for the small
// memory tags; blocks are four bytes; the mask is the highest block address, the memory
// over the page size in whole blocks, minus 1.
TEST(ProductsFileReader, MemoryGeometryOfARecord) {
    const struct {
        const char* reference;
        std::int32_t density, pageSize;
        std::optional<MemoryGeometry> geometry;
    } cases[] = {
        {"VEL-C", 2, 4, MemoryGeometry{256, 4, 63}},
        {"VEL-D", 3, 5, MemoryGeometry{384, 4, 75}},        // 76.8 blocks: 76 whole ones
        {"ISO14443-A", 4, 4, MemoryGeometry{512, 4, 127}},  // more than 256 bytes
        {"DUONX-C", 64, 32, MemoryGeometry{8192, 4, 255}},
        {"TOPAZ", 1, 128, MemoryGeometry{128, 4, 0}},  // one page: block 0 alone
        {"TOPAZ", 1, 129, std::nullopt},               // a page past the memory
        {"VEL-C", 1, 1, MemoryGeometry{128, 4, 127}},
        // The largest density whose bits fit 32 bits, and the first that does not.
        {"VEL-C", 2097151, 1, MemoryGeometry{268435328, 4, 268435327}},
        {"VEL-C", 2097152, 1, std::nullopt},
        {"VEL-C", 0, 4, std::nullopt},
        {"VEL-C", -1, 4, std::nullopt},
        {"VEL-C", 2, 0, std::nullopt},
        {"VEL-C", 2, -4, std::nullopt},
        // The small memory tags: 64 bytes, their blocks those of their density.
        {"SOLA-A", 4, 4, MemoryGeometry{64, 4, 127}},
        {"SOLT-A", 4, 4, MemoryGeometry{64, 4, 127}},
        {"SOLT-A", 2, 256, MemoryGeometry{64, 4, 63}},
        {"sola-a", 4, 4, MemoryGeometry{512, 4, 127}},  // the reference's case counts
        {"SOLA-B", 4, 4, MemoryGeometry{512, 4, 127}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.reference) + " " + std::to_string(c.density) + " kbit, page " +
                     std::to_string(c.pageSize));
        core::Product p;
        p.Reference = QLatin1String(c.reference);
        p.Density = c.density;
        p.PageSize = c.pageSize;
        QString problem;
        const auto g = core::memoryGeometry(p, &problem);
        EXPECT_EQ(core::memoryGeometry(p).has_value(), g.has_value()) << "without a problem text";
        ASSERT_EQ(g.has_value(), c.geometry.has_value()) << problem.toStdString();
        if (!g) {
            EXPECT_TRUE(problem.startsWith(QStringLiteral("File 'TQ73RN_products.ini': ")))
                << problem.toStdString();
            continue;
        }
        EXPECT_TRUE(problem.isEmpty());
        EXPECT_EQ(g->MemorySizeBytes, c.geometry->MemorySizeBytes);
        EXPECT_EQ(g->BlockSizeBytes, c.geometry->BlockSizeBytes);
        EXPECT_EQ(g->AddressMask, c.geometry->AddressMask);
    }
}

// A product menu entry is looked up by its caption up to the first blank.
TEST(ProductsFileReader, TheKeyOfACaptionIsItsFirstWord) {
    const struct {
        const char* caption;
        const char* key;
    } cases[] = {
        {"VEL-C", "VEL-C"},
        {"ISO14443-B Cards commands", "ISO14443-B"},
        {"VEL-C  two blanks", "VEL-C"},
        {"VEL-C ", "VEL-C"},
        {" VEL-C", ""},
        {"", ""},
        {"A\tB", "A\tB"},  // only a blank ends the key
    };
    for (const auto& c : cases) {
        EXPECT_EQ(core::productKey(QLatin1String(c.caption)), QLatin1String(c.key)) << c.caption;
    }
}

}  // namespace
