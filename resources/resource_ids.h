/* Numeric IDs of the resources that Update.exe (update.rc) and Setup.exe
   (setup.rc) carry; the icon group, the version block and the manifest they
   share through common.rc. Plain #defines only: this header is read by the
   resource compiler as well as by C++ code. The control IDs are the ones the
   dialog procedures address (ui/dialog_ids.h, ui/component_dialog.h). */
#ifndef VELMORA_RESOURCE_IDS_H
#define VELMORA_RESOURCE_IDS_H

#define IDI_MAIN_ICON        104  /* icon group, class icon of the main window */
#define IDD_SETUP_DIALOG     105  /* the setup dialog, the updater's form (Update.exe) */
#define IDD_INSTALL_DIALOG   106  /* the setup dialog, the installer's full form (Setup.exe) */
#define IDD_COMPONENT_DIALOG 109  /* the component selection dialog (Setup.exe) */

/* Controls of the setup dialog, in either form. The Cancel button is
   IDCANCEL (2). */
#define IDC_INSTALL_BUTTON  1000  /* install; "中断" while an install runs */
#define IDC_START_GAME      1001
#define IDC_EXIT_BUTTON     1002
#define IDC_CHOOSE_FOLDER   1003
#define IDC_INSTALL_FOLDER  1004  /* static: the installation folder */
#define IDC_PROGRESS_BAR    1005
#define IDC_README_BUTTON   1006
#define IDC_UPDATE_BUTTON   1008
#define IDC_QUESTION_TEXT   1009
#define IDC_UNINSTALL       1014
#define IDC_WHITE_LABEL     1017  /* static drawn bold white, transparent */
#define IDC_BLACK_LABEL     1018  /* static drawn bold black, transparent */
#define IDC_STATUS_LINE0    1019  /* static: current file, install phases */
#define IDC_MANUAL_BUTTON   1020
#define IDC_STATUS_LINE1    1021  /* static: elapsed time of the copy */

/* Controls of IDD_COMPONENT_DIALOG; the numbers overlap the setup dialog's,
   which is a dialog of its own. */
#define IDC_REQUIRED_SIZE   1011  /* static: the space the choice needs */
#define IDC_COMPONENT_OK    1012
#define IDC_COMPONENT_CANCEL 1013
#define IDC_INSTALL_TYPE    1015  /* each click toggles the install type */
#define IDC_BASE_COMPONENT  1020  /* the game itself: always ticked */
#define IDC_GRAPHICS_DATA   1021  /* grd.pac */
#define IDC_MUSIC_DATA      1022  /* mus.pac */
#define IDC_VOICE_DATA      1023  /* vic.pac */

#endif
