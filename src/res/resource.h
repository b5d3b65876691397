/*
 * resource.h - resource identifiers shared by the resource files and the C++ code.
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

/* Preferences. */
#define IDD_PREFERENCES         131
#define IDC_KEY_HIDE_WINDOW     1000    /* hot-key 0 */
#define IDC_KEY_SHOW_WINDOW     1001    /* hot-key 1 */
#define IDC_KEY_HIDE_ALL        1002    /* hot-key 2 */
#define IDC_KEY_SHOW_ALL        1003    /* hot-key 3 */
#define IDC_AUTORUN             1004
#define IDC_SHOW_LIST           1005
#define IDC_SHOW_ON_CLOSE       1006
#define IDC_KEY_TOGGLE_WINDOW   1009    /* hot-key 4 */
#define IDC_INVERT_MOUSE        1010
#define IDC_HIDE_ICON           1011
#define IDC_NEW_PASSWORD        1016
#define IDC_CONFIRM_PASSWORD    1017
#define IDC_PASS_ON_SHOW        1018
#define IDC_PASS_ON_CLOSE       1019
#define IDC_PASS_ON_OPTION      1020
#define IDC_ACTION              1024
#define IDC_SINGLE_CLICK        1025
#define IDC_DOUBLE_CLICK        1026
#define IDC_SHOW_HIDDEN_IN_TIP  1030
#define IDC_KEY_SHOW_LIST       1037    /* hot-key 5 */
#define IDC_MINIMIZE_GESTURE    1038
#define IDC_ICON_PER_WINDOW     1039
#define IDC_LANGUAGE            1043

/* Windows Groups. */
#define IDD_WINDOWS_GROUPS      145
#define IDC_GROUP_LIST          1031
#define IDC_GROUP_ADD           1032
#define IDC_GROUP_DELETE        1033
#define IDC_GROUP_EDIT          1035

/* Group. */
#define IDD_GROUP               147
#define IDC_GROUP_NAME          1000
#define IDC_GROUP_SEARCH        1001
#define IDC_GROUP_HIDE_KEY      1002
#define IDC_GROUP_SHOW_KEY      1009
#define IDC_GROUP_COMPARE       1024
#define IDC_GROUP_AUTO_HIDE     1036
#define IDC_GROUP_PROGRAM       1037
#define IDC_GROUP_CLASS         1038
#define IDC_GROUP_PICK          1039
#define IDC_GROUP_HIDE_MINIMIZED 1040

/* The Group dialog's window picker. */
#define IDD_WINDOW_PICK         148
#define IDC_PICK_LIST           1041
#define IDC_PICK_WITH_CAPTION   1042

/* String table. */
#define IDS_NEED_SHOW_HOTKEY    129  /* hide-icon option needs a show hot-key */
#define IDS_PASSWORD_MISMATCH   130  /* password and confirmation differ */
#define IDS_NO_TITLE            136  /* menu text for a window without caption */
#define IDS_HIDDEN_WINDOWS      137  /* "Hidden windows" submenu */
#define IDS_HIDDEN_COUNT        141  /* tray tip: "%u hidden windows" */
#define IDS_KEY_NOT_HELD        150  /* "%s (in use)": a key that is not registered */
#define IDS_KEYS_FAILED_TITLE   151  /* start-up balloon's title */
#define IDS_KEYS_FAILED_LINE    152  /* balloon line: command or group, key */
#define IDS_KEYS_FAILED_MORE    153  /* balloon: the lines that did not fit */
#define IDS_KEY_DUPLICATE       154  /* OK check: key given twice */
#define IDS_KEY_TAKEN           155  /* OK check: another program holds it */
#define IDS_GROUP_HIDE_KEY      156  /* label of a group's hide key */
#define IDS_GROUP_SHOW_KEY      157  /* label of a group's show key */
#define IDS_GROUP_TOGGLE        158  /* click action: a group's hide/show */
/* The command line's usage box: a line naming the error, then the usage:
   its head, a line per command, its tail. */
#define IDS_USAGE_HEAD          160
#define IDS_USAGE_UNKNOWN       161
#define IDS_USAGE_MISSING       162
#define IDS_USAGE_EXTRA         163
#define IDS_USAGE_TOO_LONG      164
#define IDS_USAGE_INVALID_TEXT  165
#define IDS_USAGE_GROUP_NAME    167  /* the placeholder of a command's group name */
#define IDS_USAGE_TAIL          166
#define IDS_CLI_HIDE_WINDOW     170
#define IDS_CLI_SHOW_WINDOW     171
#define IDS_CLI_HIDE_ALL        172
#define IDS_CLI_SHOW_ALL        173
#define IDS_CLI_TOGGLE_WINDOW   174
#define IDS_CLI_TOGGLE_ALL      175
#define IDS_CLI_HIDE_GROUP      176
#define IDS_CLI_SHOW_GROUP      177
#define IDS_CLI_TOGGLE_GROUP    178
#define IDS_CLI_EXIT            179
#define IDS_CLI_HELP            180
/* The click actions of Preferences. */
#define IDS_CLICK_SHOW_LIST     185
#define IDS_CLICK_TOGGLE_WINDOW 186
#define IDS_CLICK_HIDE_WINDOW   187
#define IDS_CLICK_SHOW_WINDOW   188
#define IDS_CLICK_TOGGLE_ALL    189
#define IDS_CLICK_HIDE_ALL      190
#define IDS_CLICK_SHOW_ALL      191
/* The dialogs' own texts. */
#define IDS_KEY_NOT_DEFINED     192  /* a group without a key, in the list */
#define IDS_COLUMN_NAME         193
#define IDS_COLUMN_HIDE         194
#define IDS_COLUMN_SHOW         195
#define IDS_COMPARE_INCLUDE     196
#define IDS_COMPARE_EQUAL       197
#define IDS_GROUP_NEEDS_NAME    198
#define IDS_GROUP_NEEDS_SEARCH  199
#define IDS_AUTO_HIDE_NEEDS_SEARCH 200
#define IDS_AUTO_HIDE_NEEDS_MODE 201
#define IDS_GROUP_NAME_TOO_LONG 208
#define IDS_COLUMN_WINDOWS      280  /* Windows Groups: a group's program or class */
#define IDS_COLUMN_CAPTION      281  /* the picker's columns */
#define IDS_COLUMN_PROGRAM      282
#define IDS_COLUMN_CLASS        283
/* Tarnvell's tip: the hidden windows beyond the icons of their own. */
#define IDS_WITHOUT_ICON        209
/* The link's error box: its head, the text for a code of ShellExecute
   (IDS_LINK_ERROR_BASE + code, 0 to 32), or the unknown code's. */
/* The balloon of a hide the window did not let happen. */
#define IDS_HIDE_REFUSED        202  /* Tarnvell could not hide "%s". */
#define IDS_HIDE_REFUSED_ONE    203  /* ...and one other window */
#define IDS_HIDE_REFUSED_MORE   204  /* ...and %u other windows */
#define IDS_HIDE_REFUSED_ADMIN  207  /* the window's program has higher rights */
#define IDS_LINK_CANT_OPEN      205
#define IDS_LINK_UNKNOWN        206
#define IDS_LINK_ERROR_BASE     210
/* The words of key names, in the order of KeyWord (hotkeys/key_names.h):
   IDS_KEY_WORDS to IDS_KEY_WORDS + 15. */
#define IDS_KEY_WORDS           400
/* The first item of Preferences' language list: the system's choice. */
#define IDS_LANGUAGE_DEFAULT    420

/* Menu commands; each has a string-table entry with its menu text. */
#define ID_HIDE_WINDOW          32771
#define ID_SHOW_WINDOW          32772
#define ID_HIDE_ALL             32773
#define ID_SHOW_ALL             32774
#define ID_PREFERENCES          32775
#define ID_TOGGLE_WINDOW        32776
/* The tray list menus: one command per hidden-window list position 0..99. */
#define ID_SHOW_HIDDEN_BASE     32777
#define ID_SHOW_HIDDEN_LAST     32876

#define ID_CHECK_UPDATE         32878
#define ID_WINDOWS_GROUPS       32879
/* The menu of a hidden window's own icon. */
#define ID_WINDOW_ICON_SHOW     32880
#define ID_WINDOW_ICON_CLOSE    32881
#define ID_APP_ABOUT            57664   /* 0xE140 */
#define ID_APP_EXIT             57665   /* 0xE141 */
#define ID_DEFAULT_HELP         57671   /* 0xE147 */

#endif /* TARNVELL_RESOURCE_H */
