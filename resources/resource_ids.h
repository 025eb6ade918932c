/* Numeric IDs of the resources that Update.exe carries (update.rc).
   Plain #defines only: this header is read by the resource compiler as
   well as by C++ code. */
#ifndef VELMORA_RESOURCE_IDS_H
#define VELMORA_RESOURCE_IDS_H

#define IDI_MAIN_ICON        104  /* icon group, class icon of the main window */
#define IDD_SETUP_DIALOG     105  /* the setup dialog */

/* Controls of IDD_SETUP_DIALOG; the Cancel button is IDCANCEL (2). */
#define IDC_UPDATE_BUTTON   1008
#define IDC_QUESTION_TEXT   1009

#endif
