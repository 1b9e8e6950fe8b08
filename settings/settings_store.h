#pragma once
// Loading and saving "Lumarel.ini" beside the executable.

#include <string>

#include "launch/launch_options.h"
#include "platform/services.h"

namespace lumarel {

// Reads the settings file into the controls and the location (creating the file empty when
// it is missing), then completes whatever the file left unset. A complete copy that a save
// left beside an empty or missing file is taken and put in place. A file that cannot be
// created is no reason to stop; one that exists but cannot be read is reported.
void LoadSettings(const std::wstring& ownDirectory, TextFiles& files, MessageBoxes& messages,
                  OptionControls& controls, std::wstring& emulatorPath);

// Writes the fourteen lines beside the file and gives them its name in one step. Without an
// emulator location nothing is written; a save that does not take says where the settings
// are, and never destroys the only complete copy of the settings saved before.
void SaveSettings(const std::wstring& ownDirectory, TextFiles& files, MessageBoxes& messages,
                  const OptionControls& controls, const std::wstring& emulatorPath);

}  // namespace lumarel
