#pragma once

#include <cstdint>
#include <memory>

#include "core/TextTypes.h"
#include "jobs/Progress.h"
#include "jobs/RunUpdate.h"

// The file run on the worker's thread: converts the text it was given, and posts its progress,
// its result and its end as it goes. It touches no control and waits for nothing of the
// window's, so the window can close at any moment of it.
class ConversionWorker {
  public:
    ConversionWorker(std::shared_ptr<const WideString> text, RunPost post)
        : m_text(std::move(text)), m_post(std::move(post)) {}

    void Run();

  private:
    RunEnd Convert(ProgressReporter& progress, std::int64_t slots, ByteString& result);
    void PostResult(ProgressReporter& progress, std::int64_t slots, ByteString result);

    std::shared_ptr<const WideString> m_text;
    RunPost m_post;
};
