#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "ui/LineIndex.h"
#include "ui/Toolkit.h"

// What every window toolkit does alike: the worker's one thread and its join, the queue of calls
// posted to the window's thread, and a large text's line index. A toolkit adds its way of waking
// the window's thread and its widgets.
class ToolkitBase : public Toolkit {
  public:
    void SetText(ControlId control, SharedText text, std::shared_ptr<const LineIndex> index) final;
    bool BeginThread(std::function<void()> body) final;
    void Post(std::function<void()> call) final;

  protected:
    // Each toolkit joins the worker in its own destructor, before its widgets go. The worker
    // waits on nothing of the window's, so the join ends as soon as its work does.
    ~ToolkitBase() override = default;

    // Has the window's thread call RunPosted soon; from any thread, without waiting.
    virtual void WakeWindowThread() = 0;
    // Whether control is a view of large texts, which takes a text with its line index.
    virtual bool IsTextView(ControlId control) const = 0;
    // Shows text in a view and returns the text shown before.
    virtual SharedText ShowInView(ControlId control, SharedText text,
                                  std::shared_ptr<const LineIndex> index) = 0;
    // Shows text in any other control.
    virtual void ShowText(ControlId control, SharedText text) = 0;

    // On the window's thread: runs every call posted so far, in order.
    void RunPosted();
    // Waits for the worker's thread.
    void JoinWorker();

  private:
    std::thread m_worker;
    std::mutex m_postedMutex;
    std::deque<std::function<void()>> m_posted;
};
