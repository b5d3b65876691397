#include "hotkeys/key_status.h"

#include <utility>

namespace {

constexpr std::string_view kPlaceholder = "%s";

bool IsSetKey(KeyCombination value) { return value.key != 0; }

std::string Name(KeyCombination value) { return CHotKeys::FormatName(value.modifiers, value.key); }

}  // namespace

std::string FormatText(std::string_view format, std::string_view value) {
    const auto at = format.find(kPlaceholder);
    if (at == std::string_view::npos) return std::string(format);
    std::string text(format.substr(0, at));
    text += value;
    text += format.substr(at + kPlaceholder.size());
    return text;
}

std::string FormatText(std::string_view format, std::string_view first, std::string_view second) {
    const auto at = format.find(kPlaceholder);
    if (at == std::string_view::npos) return std::string(format);
    // The second value goes into the rest only, so a "%s" inside the first
    // value (a group may be named so) is never replaced.
    std::string text(format.substr(0, at));
    text += first;
    text += FormatText(format.substr(at + kPlaceholder.size()), second);
    return text;
}

std::string KeyStatusText(KeyCombination value, bool registered, std::string_view notHeldFormat,
                          std::string_view unsetText) {
    if (!IsSetKey(value)) return std::string(unsetText);
    const std::string name = Name(value);
    return registered ? name : FormatText(notHeldFormat, name);
}

std::string FailedKeysText(const std::vector<LabelledKey>& keys, std::string_view lineFormat,
                           std::string_view moreFormat, std::size_t maxChars) {
    std::vector<std::string> lines;
    for (const LabelledKey& key : keys)
        if (IsSetKey(key.value) && !key.registered) lines.push_back(FormatText(lineFormat, key.label, Name(key.value)));
    // As many whole lines as fit with the count of the rest after them.
    for (std::size_t shown = lines.size();; --shown) {
        std::string text;
        for (std::size_t i = 0; i < shown; ++i) {
            if (i > 0) text += '\n';
            text += lines[i];
        }
        if (shown < lines.size()) {
            if (!text.empty()) text += '\n';
            text += FormatText(moreFormat, std::to_string(lines.size() - shown));
        }
        if (text.size() <= maxChars || shown == 0) {
            if (text.size() > maxChars) text.resize(maxChars);
            return text;
        }
    }
}

KeyProbe SystemKeyProbe(platform::IHotKeySystem& system, WindowHandle target, int probeId,
                        std::vector<KeyCombination> held) {
    return [&system, target, probeId, held = std::move(held)](KeyCombination value) {
        for (const KeyCombination& mine : held)
            if (mine == value) return true;
        if (!system.Register(target, probeId, value.modifiers, value.key)) return false;
        system.Unregister(target, probeId);
        return true;
    };
}

std::optional<std::string> CheckKeys(const std::vector<LabelledKey>& edited, const std::vector<LabelledKey>& others,
                                     const KeyProbe& canRegister, const KeyCheckTexts& texts) {
    for (std::size_t i = 0; i < edited.size(); ++i) {
        const LabelledKey& key = edited[i];
        if (!IsSetKey(key.value)) continue;
        const std::string name = Name(key.value);
        for (std::size_t j = 0; j < i; ++j)
            if (edited[j].value == key.value) return FormatText(texts.duplicateFormat, name, edited[j].label);
        for (const LabelledKey& other : others)
            if (other.value == key.value) return FormatText(texts.duplicateFormat, name, other.label);
        if (canRegister && !canRegister(key.value)) return FormatText(texts.takenFormat, name);
    }
    return std::nullopt;
}
