#include "graph/LogLoadJob.h"

namespace vantel {

LogLoadJob::LogLoadJob(LogLoadRequest request, LogLoadProgress progress, std::function<void(LogLoadOutcome)> done)
    : thread_([this, request = std::move(request), progress = std::move(progress), done = std::move(done)] {
          done(LoadLogs(request, cancel_, progress));
      })
{
}

LogLoadJob::~LogLoadJob()
{
    cancel();
    thread_.join();
}

} // namespace vantel
