/* Shared by the menu probe library and e2e::MenuTexts. */
#pragma once

#define MENU_PROBE_MESSAGE L"TarnvellE2EMenuProbe"
#define MENU_PROBE_MAPPING L"TarnvellE2EMenuTexts"
#define MENU_PROBE_SIZE (1024 * 1024)
