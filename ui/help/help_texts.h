#pragma once
// The fixed texts behind the Help menu, and the command that opens the emulator's readme.

#include <optional>
#include <string>
#include <vector>

namespace lumarel {

// The keyboard reference: 74 lines laid out for a monospaced font, every line (the last too)
// ended by CR LF, which a multi-line edit box needs to break lines.
std::wstring KeyboardReferenceText();

// The key text of every entry of the reference, top to bottom, as it starts its line.
std::vector<std::wstring> KeyboardReferenceKeys();

// Thirteen lines joined by bare line feeds, which a static label breaks on; nothing follows
// the last line so the label gets no empty line at its foot.
std::wstring AboutText();

// Line 11 of the About text; it also titles the box that shows the picture.
std::wstring AboutPictureCredit();

// Notepad on the readme.txt beside the emulator, or nothing for a path of fewer than 11
// characters. Left unquoted: Notepad takes the rest of its command line as one file name.
std::optional<std::wstring> ReadmeCommandLine(const std::wstring& emulatorPath);

}  // namespace lumarel
