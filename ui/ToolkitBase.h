#pragma once

#include <exception>
#include <memory>
#include <optional>
#include <thread>
#include <type_traits>

#include "ui/LineIndex.h"
#include "ui/Toolkit.h"

// What every window toolkit does alike: the worker's one thread and its join, another thread's
// call carried over to the window's thread, and a large text's line index built on the thread
// that hands the text over. A toolkit adds its way of reaching the window's thread and its
// widgets.
class ToolkitBase : public Toolkit {
  public:
    void SetText(ControlId control, SharedText text) final;
    bool BeginThread(std::function<void()> body) final;
    void CallOnWindowThread(const std::function<void()>& handler) final;

  protected:
    // Each toolkit joins the worker in its own destructor, before its widgets go.
    ~ToolkitBase() override = default;

    // Whether the caller runs on the window's thread.
    virtual bool OnWindowThreadNow() const = 0;
    // Runs call on the window's thread and returns once it has run there. Only ever called from
    // another thread.
    virtual void RunOnWindowThread(const std::function<void()>& call) = 0;
    // Whether control is a view of large texts, which takes a text with its line index.
    virtual bool IsTextView(ControlId control) const = 0;
    // On the window's thread: shows text in a view and returns the text shown before.
    virtual SharedText ShowInView(ControlId control, SharedText text,
                                  std::shared_ptr<const LineIndex> index) = 0;
    // On the window's thread: shows text in any other control.
    virtual void ShowText(ControlId control, SharedText text) = 0;

    // Carries operation out on the window's thread and gives back its result; what it throws is
    // thrown to the caller, never into the window's event loop.
    template <typename Operation>
    auto OnWindowThread(Operation operation);
    // Waits for the worker's thread.
    void JoinWorker();

  private:
    void CarryOver(const std::function<void()>& call);

    std::thread m_worker;
};

template <typename Operation>
auto ToolkitBase::OnWindowThread(Operation operation) {
    using Result = decltype(operation());
    if (OnWindowThreadNow()) {
        return operation();
    }
    if constexpr (std::is_void_v<Result>) {
        CarryOver(operation);
    } else {
        std::optional<Result> result;
        CarryOver([&] { result.emplace(operation()); });
        return std::move(*result);
    }
}
