#include "platform/ProgramStarter.h"

#include <gtest/gtest.h>

namespace tolvane {
namespace {

// Only a whole path names a document: an empty or relative one (which would depend on the folder the program
// runs in, or read as an option of the opener) is refused before any program is started.
TEST(ProcessStarter, OpensOnlyDocumentsNamedByAWholePath) {
    ProcessStarter starter;
    for (const char* path : {"", "Print.html", "--help", "print/../Print.html"}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(starter.openDocument(QString::fromLatin1(path)));
    }
}

} // namespace
} // namespace tolvane
