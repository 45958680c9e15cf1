#include "shell/about_box.hpp"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <map>
#include <set>

#include "test_context.hpp"

using namespace shell;
using namespace core;

namespace {

// A system with the given registry values and files, recording what it was asked.
struct FakeSystem {
    std::map<QString, QString> values;  // "key|value name" -> text
    std::set<QString> files;
    bool startWorks = true;
    QStringList started;
    QStringList checkedFiles;

    SystemInfoPlatform platform() {
        return {
            [this](RegistryRoot root, const QString& key, const QString& name, QString& out) {
                EXPECT_EQ(root, RegistryRoot::LocalMachine);
                auto it = values.find(key + QLatin1Char('|') + name);
                out = it == values.end() ? QString() : it->second;
                return it != values.end();
            },
            [this](const QString& path) {
                checkedFiles << path;
                return files.count(path) != 0;
            },
            [this](const QString& program) {
                started << program;
                return startWorks;
            },
        };
    }
};

const QString kFirstKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH");
const QString kSecondKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO");

TEST(AboutBox, SystemInformationProgram) {
    struct Case {
        const char* name;
        std::map<QString, QString> values;
        std::set<QString> files;
        bool startWorks;
        QStringList started;
        bool message;
    };
    const Case cases[] = {
        // The first value is started as it stands, without looking for the file.
        {"first value",
         {{kFirstKey, "C:\\info\\sys.exe"}, {kSecondKey, "C:\\other"}},
         {},
         true,
         {"C:\\info\\sys.exe"},
         false},
        {"first value fails to start",
         {{kFirstKey, "C:\\info\\sys.exe"}},
         {},
         false,
         {"C:\\info\\sys.exe"},
         true},
        {"second value",
         {{kSecondKey, "C:\\tools"}},
         {"C:\\tools\\MSINFO32.EXE"},
         true,
         {"C:\\tools\\MSINFO32.EXE"},
         false},
        {"second value without the file", {{kSecondKey, "C:\\tools"}}, {}, true, {}, true},
        {"neither value", {}, {"C:\\tools\\MSINFO32.EXE"}, true, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TestContext t;
        FakeSystem system{c.values, c.files, c.startWorks, {}, {}};
        AboutBox box(*t.ctx, system.platform());
        if (c.message) t.ui.expectMessage();
        box.StartSysInfo();
        EXPECT_EQ(system.started, c.started);
        ASSERT_EQ(t.ui.messages().size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(t.ui.messages()[0].text,
                      QStringLiteral("System Information are not available now"));
            EXPECT_EQ(t.ui.messages()[0].title, QStringLiteral("TQ73RN_Development_Software"));
            EXPECT_EQ(t.ui.messages()[0].icon, core::MsgIcon::None);
            EXPECT_EQ(t.ui.messages()[0].buttons, core::MsgButtons::Ok);
        }
    }
}

// Here there is no registry: the button always ends in the message.
TEST(AboutBox, WithoutRegistryTheButtonShowsTheMessage) {
    testsupport::TestContext t;
    t.ctx->windows().registerFactory(core::WindowKind::About,
                                     [](core::AppContext& c) { return new AboutBox(c); });
    core::ToolWindow* w = t.ctx->windows().show(core::WindowKind::About);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("About TQ73RN_Development_Software"));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(),
              QStringLiteral("SOFTWARE FOR DEMO-TQ73RN-A DEMO-TQ73RN-B"));
    EXPECT_EQ(w->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
              QStringLiteral("VERSION 1.3"));
    auto* sysInfo = w->findChild<QPushButton*>(QStringLiteral("cmdSysInfo"));
    EXPECT_EQ(sysInfo->text(), QStringLiteral("&Infos système..."));
    EXPECT_EQ(sysInfo->toolTip(), QStringLiteral("Check your computer system"));

    t.ui.expectMessage();
    sysInfo->click();
    ASSERT_EQ(t.ui.messages().size(), 1u);
    EXPECT_EQ(t.ui.messages()[0].text, QStringLiteral("System Information are not available now"));
    EXPECT_EQ(t.ctx->windows().find(core::WindowKind::About), w);  // the box stays open

    w->findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    EXPECT_EQ(t.ctx->windows().find(core::WindowKind::About), nullptr);
}

}  // namespace
