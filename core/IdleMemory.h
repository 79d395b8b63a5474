#pragma once
// Memory the program holds without needing it while the user reads, given
// back once a week has been shown for a while: the pages of the font files
// that the font engine has mapped and read glyphs from. The Chinese faces
// are tens of megabytes each and every glyph drawn brings in pages around
// it; the glyphs drawn are kept in the glyph caches, and a page needed
// again is read back from the file, which the system still has in its
// cache (a little over a millisecond on the next week switch).

#include <QString>

namespace qn {

// Font files mapped read-only into this process: their pages only ever hold
// the file's bytes, so dropping them loses nothing.
bool IsReadOnlyFontMapping(const QString& mapsLine);

// Releases them; cheap (a look at /proc/self/maps and a few system calls).
// Called on the thread that draws text (the GUI thread), so no font file
// is opened or closed while it runs.
void ReleaseIdleMemory();

}  // namespace qn
