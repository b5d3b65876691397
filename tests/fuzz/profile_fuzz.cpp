// Start-up against a registry profile of arbitrary content: random bytes
// become values of random names, types and contents in the three sections,
// then the engine is built, loads everything, saves, rewrites its group list
// and is torn down. Any crash, leak or undefined behaviour is a finding.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/app_kernel.h"
#include "engine/hidden_journal.h"
#include "fake_platform.h"
#include "groups/caption_match.h"
#include "hotkeys/hot_key_capture.h"
#include "platform/text.h"
#include "platform/win_constants.h"

namespace {

const char* const kSections[] = {"Settings", "HotKeys", "Groups"};

const char* const kSettingNames[] = {
    "bShowList",      "m_bShowOnClose", "m_bInvertMouse", "m_bAutorun", "m_bHideIcon", "m_bShowHiddenInTip",
    "m_bPassOnClose", "m_bPassOnOption", "m_bPassOnShow", "m_Password", "m_bClick",    "m_uAction",
    "First Start",    "PreviewPages"};

const char* const kSlotPrefixes[] = {"Name", "Search", "Compare", "Mod", "VK"};

// Mostly names the program reads, so that the planted values are met.
std::string PickName(FuzzedDataProvider& in, int section) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0: return in.ConsumeRandomLengthString(40);
        case 1:
            if (section == 0) return kSettingNames[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kSettingNames) - 1)];
            [[fallthrough]];
        default: {
            const char* prefix = kSlotPrefixes[in.ConsumeIntegralInRange<std::size_t>(0, std::size(kSlotPrefixes) - 1)];
            return prefix + std::to_string(in.ConsumeIntegralInRange(-2, 64));
        }
    }
}

FakeProfile::Value PickValue(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0: return unsigned{in.PickValueInArray({0u, 1u, 2u, 3u, 0xFFFFFFFFu, 0x48u, 0xFFFFFFFEu})};
        case 1: return in.ConsumeIntegral<unsigned>();
        case 2: {
            std::string text = in.ConsumeRandomLengthString(2048);
            // Now and then a text far longer than any field is meant to hold.
            if (!text.empty() && text[0] == '~') text.resize(200000, 'x');
            return text;
        }
        default: {
            const auto bytes = in.ConsumeBytes<unsigned char>(in.ConsumeIntegralInRange(0, 16));
            return FakeProfile::Binary{bytes};
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    FakePlatform fake;
    fake.crypto.cap = 2;

    fake.runKey.exists = in.ConsumeBool();
    if (in.ConsumeBool()) fake.module.path = in.ConsumeRandomLengthString(400);
    if (in.ConsumeBool())
        for (unsigned c = 0x81; c <= 0x9F; ++c) fake.module.leadBytes.insert(static_cast<unsigned char>(c));
    fake.profile.failWrites = in.ConsumeBool();

    const int values = in.ConsumeIntegralInRange(0, 200);
    for (int n = 0; n < values && in.remaining_bytes() > 0; ++n) {
        const int section = in.ConsumeIntegralInRange(0, 2);
        std::string name = PickName(in, section);
        fake.profile.Set(kSections[section], name, PickValue(in));
    }
    // A long run of filled slots, as a tampered profile may hold (the unit
    // tests take the full bound; here a few hundred keep the runs quick).
    if (in.ConsumeBool()) {
        const int slots = in.ConsumeIntegralInRange(0, 400);
        for (int i = 0; i < slots; ++i) fake.profile.Set("Groups", "Compare" + std::to_string(i), 0u);
    }

    // The journal a previous run left: a few windows of the desktop and
    // records that may or may not name them, encoded whole and then
    // damaged, or raw bytes.
    for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n) fake.desktop.Add("W", "w", in.ConsumeBool());
    const auto windows = fake.desktop.ZOrder();
    if (in.ConsumeBool()) {
        std::vector<CWndDes> records;
        for (int n = in.ConsumeIntegralInRange(0, 6); n > 0; --n) {
            const WindowHandle w = windows.empty() || in.ConsumeBool()
                                       ? WindowHandle{in.ConsumeIntegral<std::uint16_t>()}
                                       : windows[in.ConsumeIntegralInRange<std::size_t>(0, windows.size() - 1)];
            CWndDes record(w, in.ConsumeBool(), WindowHandle{in.ConsumeIntegral<std::uint8_t>()}, -1);
            record.m_nProcessId = in.ConsumeBool() ? FakeDesktop::kOtherProcess : in.ConsumeIntegral<std::uint32_t>();
            records.push_back(record);
        }
        auto bytes = journal::Encode(records);
        for (int n = in.ConsumeIntegralInRange(0, 3); n > 0 && !bytes.empty(); --n)
            bytes[in.ConsumeIntegralInRange<std::size_t>(0, bytes.size() - 1)] = in.ConsumeIntegral<std::uint8_t>();
        if (in.ConsumeBool()) bytes.resize(in.ConsumeIntegralInRange<std::size_t>(0, bytes.size()));
        fake.hiddenJournal.value = bytes;
    } else if (in.ConsumeBool()) {
        fake.hiddenJournal.value = in.ConsumeBytes<std::uint8_t>(in.ConsumeIntegralInRange(0, 200));
    }

    {
        auto kernel = std::make_unique<CAppKernel>(fake.Set());
        kernel->Init(WindowHandle{0x42});

        const std::string caption = in.ConsumeRandomLengthString(1500);
        const LeadByteTest lead = [&](unsigned char c) { return fake.module.IsLeadByte(c); };
        const CGroupList& groups = kernel->Groups();
        for (std::size_t i = 0; i < groups.size(); ++i) {
            CaptionMatches(caption, groups.At(i)->m_strSearch, groups.At(i)->m_nCompare, lead);
            CaptionMatches(caption, groups.At(i)->m_strSearch, groups.At(i)->m_nCompare, text::CodePage::Utf8());
        }
        // A cut of any bytes is a beginning of them that ends on a boundary.
        for (const text::CodePage& page : {text::CodePage(lead), text::CodePage::Utf8()}) {
            const std::size_t cut = text::PrefixOfBytes(caption, 127, page);
            if (cut > 127 || !text::IsBoundary(caption, cut, page)) __builtin_trap();
        }
        for (int n = 0; n < kProgramHotKeys; ++n) kernel->Settings().HotKey(n).GetName();

        for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n)
            kernel->ProcessMessage(wm::kHotKey, in.ConsumeIntegral<std::uintptr_t>(), 0);

        kernel->Settings().Save();
        // Whatever was taken back can be shown.
        kernel->Run({Verb::ShowAll}, Origin::Menu);

        // The Windows Groups dialog's path: working copies back into the list.
        std::vector<std::unique_ptr<CWindowsGroup>> copies;
        for (std::size_t i = 0; i < groups.size(); ++i)
            if (!in.ConsumeBool()) copies.push_back(CopyGroup(*groups.At(i)));
        kernel->Dialogs().ReplaceGroups(copies);
    }

    // Whatever keys arrive, the capture control stays consistent.
    CHotKeyCapture capture;
    while (in.remaining_bytes() >= 2) {
        const unsigned key = in.ConsumeIntegral<std::uint8_t>();
        switch (in.ConsumeIntegralInRange(0, 2)) {
            case 0: capture.KeyDown(key); break;
            case 1: capture.KeyUp(key); break;
            default: capture.KillFocus(); break;
        }
        if (capture.Text().text.size() > 35) __builtin_trap();
    }

    return 0;
}
