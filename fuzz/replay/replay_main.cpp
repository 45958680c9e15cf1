// A fuzz target as a plain program, built by the ordinary compiler: it runs the target
// once on each file it is given and on each file of each folder it is given. ctest runs
// every target on its seed folder, so a target whose checks no longer hold for the code
// fails the tests instead of waiting for the next fuzzing session; a file the fuzzer
// reported can be run again the same way.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// The files of a seed folder in name order, so that every run goes the same way. A
// folder without the empty input, or without any file, is refused: the fuzzer always
// starts from the empty input, and a seed run of nothing checks nothing.
bool seedFiles(const fs::path& folder, std::vector<fs::path>& files) {
    std::vector<fs::path> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
        if (entry.is_regular_file()) found.push_back(entry.path());
    }
    std::sort(found.begin(), found.end());
    const bool hasEmpty = std::any_of(found.begin(), found.end(),
                                      [](const fs::path& p) { return fs::file_size(p) == 0; });
    if (!hasEmpty) {
        std::cerr << folder.string() << ": no empty input among the seeds\n";
        return false;
    }
    files.insert(files.end(), found.begin(), found.end());
    return true;
}

bool readFile(const fs::path& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: " << argv[0] << " seed-folder-or-file...\n";
        return 2;
    }
    std::vector<fs::path> files;
    for (int i = 1; i < argc; ++i) {
        const fs::path path(argv[i]);
        std::error_code error;
        if (fs::is_directory(path, error)) {
            if (!seedFiles(path, files)) return 1;
        } else if (fs::is_regular_file(path, error)) {
            files.push_back(path);
        } else {
            std::cerr << path.string() << ": no such file or folder\n";
            return 1;
        }
    }
    for (const fs::path& file : files) {
        std::vector<std::uint8_t> bytes;
        if (!readFile(file, bytes)) {
            std::cerr << file.string() << ": cannot be read\n";
            return 1;
        }
        // Said before the run: a broken check stops the program inside it.
        std::cerr << "running " << file.string() << " (" << bytes.size() << " bytes)\n";
        // As the fuzzer does: a copy of exactly the input's size (the empty input too),
        // so that the address sanitizer sees the first byte read past its end.
        const auto copy = std::make_unique<std::uint8_t[]>(bytes.size());
        std::copy(bytes.begin(), bytes.end(), copy.get());
        LLVMFuzzerTestOneInput(copy.get(), bytes.size());
    }
    std::cerr << files.size() << " inputs ran, every check held\n";
    return 0;
}
