// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a fuzz target once on every file of the given files and folders, in
// name order, so the corpus is an ordinary test without the fuzzer.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* daten, size_t groesse);

namespace fs = std::filesystem;

namespace {

void Einlesen(const fs::path& pfad, std::vector<fs::path>& dateien)
{
    if (fs::is_directory(pfad)) {
        for (const auto& eintrag : fs::directory_iterator(pfad))
            if (eintrag.is_regular_file())
                dateien.push_back(eintrag.path());
    } else {
        dateien.push_back(pfad);
    }
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<fs::path> dateien;
    for (int i = 1; i < argc; ++i)
        Einlesen(argv[i], dateien);
    std::sort(dateien.begin(), dateien.end());
    if (dateien.empty()) {
        std::fprintf(stderr, "keine Eingaben gefunden\n");
        return 1;
    }
    for (const fs::path& pfad : dateien) {
        std::ifstream datei(pfad, std::ios::binary);
        if (!datei) {
            std::fprintf(stderr, "%s: nicht lesbar\n", pfad.c_str());
            return 1;
        }
        const std::vector<char> bytes{std::istreambuf_iterator<char>(datei), std::istreambuf_iterator<char>()};
        std::printf("%s (%zu Bytes)\n", pfad.filename().c_str(), bytes.size());
        std::fflush(stdout);
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("%zu Eingaben ohne Befund\n", dateien.size());
    return 0;
}
