/*
 * resource.h - resource identifiers shared by tarnvell.rc and the C++ code.
 *
 * Plain C preprocessor definitions only: windres reads this file as well
 * as the compiler.
 */
#ifndef TARNVELL_RESOURCE_H
#define TARNVELL_RESOURCE_H

/* Frame resources: title string "Tarnvell" and the program icon. */
#define IDR_MAINFRAME           128

/* Notification-area icon. */
#define IDI_TRAY                143

/* The About dialog. */
#define IDD_ABOUTBOX            100
#define IDC_HOME_LINK           1012
#define IDC_MAIL_LINK           1013
#define IDC_VERSION             1027

/* The password prompt. */
#define IDD_ENTER_PASSWORD      138
#define IDC_PASSWORD            1000

/* String table. */
#define IDS_129                 129  /* hide-icon option needs a show hot-key */
#define IDS_130                 130  /* password and confirmation differ */
#define IDS_NO_TITLE            136  /* menu text for a window without caption */
#define IDS_HIDDEN_WINDOWS      137  /* "Hidden windows" submenu */
#define IDS_HIDDEN_COUNT        141  /* tray tip: "%u hidden windows" */

#define IDS_NEED_SHOW_HOTKEY    IDS_129
#define IDS_PASSWORD_MISMATCH   IDS_130

/* Menu commands; each has a string-table entry with its menu text. */
#ifndef ID_HIDE_WINDOW
#define ID_HIDE_WINDOW          32771
#endif
#ifndef ID_SHOW_WINDOW
#define ID_SHOW_WINDOW          32772
#endif
#ifndef ID_HIDE_ALL
#define ID_HIDE_ALL             32773
#endif
#ifndef ID_SHOW_ALL
#define ID_SHOW_ALL             32774
#endif
#ifndef ID_PREFERENCES
#define ID_PREFERENCES          32775
#endif
#ifndef ID_TOGGLE_WINDOW
#define ID_TOGGLE_WINDOW        32776
#endif
/* The tray list menus: one command per hidden-window list position 0..99. */
#define ID_SHOW_HIDDEN_BASE     32777
#define ID_SHOW_HIDDEN_LAST     32876

#ifndef ID_CHECK_UPDATE
#define ID_CHECK_UPDATE         32878
#endif
#ifndef ID_WINDOWS_GROUPS
#define ID_WINDOWS_GROUPS       32879
#endif
#ifndef ID_APP_ABOUT
#define ID_APP_ABOUT            57664   /* 0xE140 */
#endif
#ifndef ID_APP_EXIT
#define ID_APP_EXIT             57665   /* 0xE141 */
#endif
#ifndef ID_DEFAULT_HELP
#define ID_DEFAULT_HELP         57671   /* 0xE147 */
#endif

#endif /* TARNVELL_RESOURCE_H */
