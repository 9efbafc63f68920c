#pragma once

#include "card/CardFiles.h"
#include "project/ProjectData.h"

#include <QString>

#include <span>
#include <vector>

class QWidget;

namespace tolvane {

class CTarvelinDoc;
struct AppContext;

// Reading and writing the open project's card files: the card page, the start from a card or a folder of card
// files, and the exit check's write-back all go through here, and through the document, so each exchange makes
// the same history whoever starts it. A file read on the page is one undo step; the card files read at start-up
// begin the history anew; a write only clears the change marks of what it verified, without an undo step. The
// service shows nothing: it returns what happened and its callers say so. It holds no state of its own beyond
// the context and the document it works on, so each caller makes one over the document when it needs it.
class CardExchange {
public:
    // The undo step of a card file read belongs to the card's identity, which every read takes: undoing it brings
    // the card page to the front.
    static constexpr SectionId ReadStepSection = SectionId::Identity;

    CardExchange(AppContext& context, CTarvelinDoc& document) : context_(context), document_(document) {}

    // Reads `kind` from `folder` as one undo step captioned with the file's name. A refused file changes nothing
    // and makes no step. Read chime names show as changed; read programs are put in their lists' orders.
    card::ReadResult readOne(card::FileKind kind, const QString& folder);

    // What reading one file at start-up did.
    struct FileRead {
        card::FileKind kind;
        card::ReadResult result;
    };
    // Reads the card files at start-up: programs.dat and seq.dat when present, then config.dat and kur.bin, and
    // puts the programs in their lists' orders; the history then starts anew. One result per file read, in that
    // order; none for an empty `folder` (nothing is read from the working folder by accident).
    std::vector<FileRead> readAll(const QString& folder);
    // True when every file read succeeded (and something was read).
    static bool allRead(const QString& folder, const std::vector<FileRead>& reads);

    // Writes `kinds` into `folder` as one write (card::writeCardFiles); only the marks of the verified files move,
    // without an undo step. With `progressOwner`, the copy window names the destination while the write runs.
    std::vector<card::WriteResult> write(std::span<const card::FileKind> kinds, const QString& folder,
                                         QWidget* progressOwner = nullptr);

    // The files the write-back question writes (card::writeBackKinds of the project).
    std::vector<card::FileKind> writeBackKinds() const;

private:
    AppContext& context_;
    CTarvelinDoc& document_;
};

} // namespace tolvane
