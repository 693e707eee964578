#include "shell/framecommands.h"

#include "shell/mainframe.h"
#include "shell/songbrowsewindow.h"
#include "songs/browselookup.h"
#include "store/program.h"

namespace cx {

namespace {
// A lookup browse in normal mode, as a child window of the frame.
template <typename Browse> void openLookupBrowse(Program &program, MainFrame &frame)
{
    auto *browse = new Browse(program, false);
    if (!browse->isOpen()) {
        delete browse;
        return;
    }
    frame.addChildWindow(browse);
}
} // namespace

void connectFrameCommands(Program &program, MainFrame &frame)
{
    // Every command opens another window, also when one of its kind is open.
    // The explorer-style song window replaces this one when it exists.
    frame.setCommandHandler(QStringLiteral("actionBrowseSongs"), [&program, &frame] { openBrowseSongs(program, frame); });
    frame.setCommandHandler(QStringLiteral("actionBrowseCategories"),
                            [&program, &frame] { openLookupBrowse<BrowseCategories>(program, frame); });
    frame.setCommandHandler(QStringLiteral("actionBrowseMedia"),
                            [&program, &frame] { openLookupBrowse<BrowseMedia>(program, frame); });
}

} // namespace cx
