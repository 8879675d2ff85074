#include "tests/support/FakeToolkit.h"

#include <utility>

#include "core/TextEncoding.h"
#include "ui/ControlTable.h"

namespace {

std::string Name(ControlId control) {
    return std::to_string(static_cast<int>(control));
}

}  // namespace

FakeToolkit::FakeToolkit(std::filesystem::path documents) : m_documents(std::move(documents)) {
    Reset();
}

FakeToolkit::~FakeToolkit() {
    JoinWorker();
}

bool FakeToolkit::SetVisible(ControlId control, bool visible) {
    return Update((visible ? "show " : "hide ") + Name(control),
                  [&] { return std::exchange(m_controls[control].visible, visible); });
}

void FakeToolkit::SetEnabled(ControlId control, bool enabled) {
    Update((enabled ? "enable " : "disable ") + Name(control),
           [&] { m_controls[control].enabled = enabled; });
}

SharedText FakeToolkit::GetText(ControlId control) {
    return Locked([&] { return m_controls[control].text; });
}

void FakeToolkit::SetText(ControlId control, SharedText text) {
    const auto reaction =
        Update("text " + Name(control) + " " + std::string(Utf16ToUtf8(*text)), [&] {
            m_controls[control].text = text;
            return m_onTextSet;
        });
    if (reaction) {
        reaction(control, *text);
    }
}

bool FakeToolkit::IsChecked(ControlId control) {
    return Locked([&] { return m_controls[control].checked; });
}

void FakeToolkit::SetChecked(ControlId control, bool checked) {
    Update((checked ? "check " : "uncheck ") + Name(control),
           [&] { m_controls[control].checked = checked; });
}

void FakeToolkit::SetProgressRange(ControlId control, std::int32_t maximum) {
    Update("range " + std::to_string(maximum), [&] { m_controls[control].maximum = maximum; });
}

void FakeToolkit::SetProgressPosition(ControlId control, std::int32_t position) {
    Update("position " + std::to_string(position),
           [&] { m_controls[control].position = position; });
}

void FakeToolkit::ShowMessage(std::u16string_view text, MessageIcon icon) {
    const auto reaction = Update("message " + std::string(Utf16ToUtf8(text)), [&] {
        m_messages.push_back({WideString(text), icon});
        return m_onTextSet;
    });
    if (reaction) {
        reaction(std::nullopt, WideString(text));
    }
}

void FakeToolkit::Beep() {
    Update("beep", [&] { ++m_beeps; });
}

void FakeToolkit::BeginWaitCursor() {
    Locked([&] { ++m_waitCursorDepth; });
}

void FakeToolkit::EndWaitCursor() {
    Locked([&] { m_waitCursorDepth = std::max(0, m_waitCursorDepth - 1); });
}

void FakeToolkit::ShowAboutBox() {
    Update("about", [] {});
}

void FakeToolkit::EndDialog(int result) {
    Update("end " + std::to_string(result), [&] { m_endResult = result; });
}

std::optional<std::filesystem::path> FakeToolkit::AskSavePath(const SaveDialogOptions& options) {
    return Update("save dialog", [&] {
        m_lastSaveDialog = options;
        return m_saveAnswer;
    });
}

bool FakeToolkit::BeginThread(std::function<void()> body) {
    if (m_refuseThreads) {
        return false;
    }
    if (!m_realThreads) {
        body();
        return true;
    }
    JoinWorker();
    m_worker = std::thread(std::move(body));
    return true;
}

void FakeToolkit::JoinWorker() {
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

std::intptr_t FakeToolkit::SendDialogMessage(MessageTarget& target, unsigned message) {
    Update("send " + std::to_string(message), [] {});
    return target.WindowProc(message, 0, 0);
}

void FakeToolkit::Click(CTallowDlg& dialog, ControlId control) {
    {
        std::lock_guard lock(m_mutex);
        ControlState& state = m_controls[control];
        if (!state.visible || !state.enabled) {
            return;
        }
        if (control == ControlId::AutoRun || control == ControlId::ShowMessages) {
            state.checked = !state.checked;
        }
    }
    dialog.OnCommand(control, Notification::Clicked);
}

void FakeToolkit::Type(ControlId control, std::u16string_view text) {
    Locked([&] { m_controls[control].text = std::make_shared<const WideString>(text); });
}

FakeToolkit::ControlState FakeToolkit::State(ControlId control) const {
    return Locked([&] {
        const auto found = m_controls.find(control);
        return found == m_controls.end() ? ControlState{} : found->second;
    });
}

std::vector<std::u16string> FakeToolkit::MessageTexts() const {
    std::vector<std::u16string> texts;
    for (const Message& message : Messages()) {
        texts.emplace_back(message.text);
    }
    return texts;
}

void FakeToolkit::ClearRecords() {
    std::lock_guard lock(m_mutex);
    m_calls.clear();
    m_messages.clear();
    m_beeps = 0;
}

void FakeToolkit::Reset() {
    ClearRecords();
    std::lock_guard lock(m_mutex);
    m_controls.clear();
    for (const ControlTemplate& item : MainDialogControls()) {
        if (item.id) {
            m_controls[*item.id].text = std::make_shared<const WideString>(item.text);
        }
    }
    m_endResult.reset();
    m_waitCursorDepth = 0;
}
