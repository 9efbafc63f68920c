#pragma once

#include <QByteArray>
#include <QString>

#include <string>

// Paths as the operating system names files, and bounded reads that never block. Every reader of a file from
// outside (project files, holiday files, card files, detection) goes through here, so that a FIFO, a device or a
// huge file is refused in one place and in one way.
namespace tolvane {

// A file path as the operating system names the file. On POSIX systems exactly the bytes of the name, which need
// not be UTF-8: a name written in Latin-1 stays that name. On Windows UTF-8, opened through the wide-character
// functions. Paths from the command line are kept as the bytes the system gave; paths from Qt are converted once
// with toNativePath.
using NativePath = std::string;

NativePath toNativePath(const QString& path);
// For Qt functions and messages. On POSIX a name that is not UTF-8 shows its stray bytes as U+FFFD, so never open
// a file by this name.
QString fromNativePath(const NativePath& path);

// The folder part of a path ("." for a bare name) and the name part.
NativePath parentFolder(const NativePath& path);
std::string fileNameOf(const NativePath& path);
// A folder path joined with a name (a separator is added only where needed).
NativePath joinNative(const NativePath& folder, const std::string& name);

// What stands at a path; a symbolic link counts as what it leads to.
enum class PathKind { Missing, RegularFile, Folder, Other };
PathKind pathKind(const NativePath& path);
// True when anything has that name, a symbolic link leading nowhere included.
bool pathExists(const NativePath& path);
// True when both paths name one file or folder (the same file through a link or a second name too).
bool isSameFile(const NativePath& first, const NativePath& second);

// Why a read failed.
enum class ReadFailure { None, CannotOpen, NotRegular, TooLarge, ReadError };

struct FileContent {
    ReadFailure failure = ReadFailure::None;
    QByteArray data;
    QString error; // the operating system's wording, or what is wrong with the file; empty on success

    bool ok() const { return failure == ReadFailure::None; }
};

// Whether a read may be answered from the system's cache or must come from the device: a card file just written is
// read back from the card itself, so that the check sees what a card pulled now would hold.
enum class ReadFrom { Cache, Device };

// The whole file at `path` when it is a regular file of at most `maxBytes` bytes. The file is opened without
// blocking (a FIFO or a device is refused, never waited on) and checked once open, so what is checked is what is
// read. A larger file is refused before anything is read; one that grows while it is read is refused at
// `maxBytes` + 1 bytes.
FileContent readRegularFile(const NativePath& path, qint64 maxBytes, ReadFrom from = ReadFrom::Cache);
// The first `limit` bytes of a regular file, or the whole file when it is shorter: a larger file is not refused
// but never read past `limit` bytes.
FileContent readRegularPrefix(const NativePath& path, qint64 limit, ReadFrom from = ReadFrom::Cache);
// `length` bytes at `offset` of a regular file; failure (ReadError) when the file is shorter than offset + length.
FileContent readRegularRange(const NativePath& path, qint64 offset, qint64 length);

// Creates a folder (its parent must exist). True when the folder is there afterwards.
bool makeFolder(const NativePath& path, QString* error = nullptr);
// Removes a file (never a folder); quiet when there is none.
void removeFile(const NativePath& path);

} // namespace tolvane
