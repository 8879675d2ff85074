#include "ui/HeadlessToolkit.h"

bool HeadlessToolkit::SetVisible(ControlId control, bool visible) {
    const bool wasVisible = !m_hidden[control];
    m_hidden[control] = !visible;
    return wasVisible;
}

// With no event loop to come back to, the body runs here and now.
bool HeadlessToolkit::BeginThread(std::function<void()> body) {
    body();
    return true;
}
