// Control IDs of the setup dialog and its templates.
#pragma once

namespace ids {

constexpr int updateTemplate = 105;   // the updater's form: Update and Cancel
constexpr int installTemplate = 106;  // the installer's full form
constexpr int componentTemplate = 109;
constexpr int iconGroup = 104;

constexpr int cancel = 2;
constexpr int installOrAbort = 1000;
constexpr int startGame = 1001;
constexpr int exitProgram = 1002;
constexpr int chooseFolder = 1003;
constexpr int installFolder = 1004;
constexpr int progressBar = 1005;
constexpr int readme = 1006;
constexpr int update = 1008;
constexpr int question = 1009;
constexpr int uninstall = 1014;
constexpr int whiteLabel = 1017;
constexpr int blackLabel = 1018;
constexpr int statusLine0 = 1019;
constexpr int manual = 1020;
constexpr int statusLine1 = 1021;

}  // namespace ids
