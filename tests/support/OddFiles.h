#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace tolvane::testing_support {

// Something that is no file to read, planted under a name a reader is given: a FIFO (a plain open waits on it),
// /dev/zero (endless), a sparse file of 4 GiB (takes no space, would take all memory) or a folder.
enum class OddFile { Fifo, DevZero, Sparse, Folder };

inline void plantOddFile(OddFile odd, const std::filesystem::path& path) {
    switch (odd) {
    case OddFile::Fifo:
        ASSERT_EQ(mkfifo(path.c_str(), 0600), 0);
        break;
    case OddFile::DevZero:
        std::filesystem::create_symlink("/dev/zero", path);
        break;
    case OddFile::Sparse:
        std::ofstream(path).close();
        std::filesystem::resize_file(path, std::uintmax_t{4} << 30);
        break;
    case OddFile::Folder:
        std::filesystem::create_directory(path);
        break;
    }
}

} // namespace tolvane::testing_support
