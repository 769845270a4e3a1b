#pragma once

// Adds Veldra to the current user's buttons of the launcher bar Trellan, when Trellan is
// installed and the button is missing. Trellan keeps its data where this reads it:
//   the settings store (Registry), [Software\Korvan\Trellan\Nastavitve] Location
//                   the path of Trellan's program file; its INI file is that path with
//                   the extension ".ini"
//   that INI file,  [SETTINGS] Shortcuts   the shortcuts file; a leading "\" means the
//                   INI file's folder
//   shortcuts file, [<user name>]          the user's buttons ("USER" without a name):
//                   <number>=<order>;<caption>;<description>;<program path>
//                   [SETTINGS] Refresh     a new random number after each change, so
//                   that Trellan reads the buttons again
// Anything missing ends it silently, and so does a file that cannot be written: the user
// is never told. Whether to call it at all (the setting "Trellan") is the caller's.
void AddToLauncherBar();
