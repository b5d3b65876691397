/* Shared by the probe library and the e2e helpers that read through it. */
#pragma once

/* wParam: the menu's handle. */
#define PROBE_MENU_MESSAGE L"TarnvellE2EMenuProbe"
/* Sent to a dialog: its texts measured against their controls. */
#define PROBE_FIT_MESSAGE L"TarnvellE2EFitProbe"
#define PROBE_MAPPING L"TarnvellE2EProbe"
#define PROBE_SIZE (1024 * 1024)

/* One menu item (MFS_* state), followed by its text's length UTF-16 units. */
struct ProbeMenuItem {
    unsigned state;
    unsigned length;
};

/* One measured control, followed by its text's length UTF-16 units. */
struct ProbeFit {
    int id;
    int needWidth, needHeight;
    int haveWidth, haveHeight;
    unsigned length;
};
