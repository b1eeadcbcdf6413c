#pragma once

#include "cli/CtlArgs.h"
#include "cli/CtlCommand.h"
#include "comm/worker/UnitWorker.h"
#include "registry/ModelCatalogue.h"

#include <future>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>

namespace vantel::ctl {

// One connected unit for a vantelctl command: the channel that fits its
// model row and that channel's worker.
class UnitSession {
public:
    // Reads HOST[:PORT] from the first positional word and --model,
    // --second-port, --adapter, --timeout; prints what is wrong and returns
    // nullptr with `exitCode` set when it cannot connect.
    static std::unique_ptr<UnitSession> open(CtlArgs& args, std::ostream& err, int& exitCode);

    const ModelRow& model() const { return model_; }
    bool isAnalog() const { return analogChannel_ != nullptr; }
    // Present for analog rows only, resp. digital rows only.
    CAnalogChannel* analogChannel() { return analogChannel_.get(); }
    CDigitalChannel* digitalChannel() { return digitalChannel_.get(); }

    // Posts a request and waits until its callback ran; `Request` is one of
    // the analog or digital request structs with its `done` already set. A
    // request of the other channel kind is not run.
    template <typename Request> void run(Request request)
    {
        std::promise<void> finished;
        auto done = std::move(request.done);
        request.done = [&finished, done](auto... values) {
            done(values...);
            finished.set_value();
        };
        bool posted = false;
        if constexpr (std::is_constructible_v<analog::Request, Request>)
            posted = analogWorker_ && analogWorker_->post(std::move(request));
        else
            posted = digitalWorker_ && digitalWorker_->post(std::move(request));
        if (posted)
            finished.get_future().wait();
    }

    ~UnitSession();

private:
    explicit UnitSession(const ModelRow& model) : model_(model) {}

    const ModelRow& model_;
    std::unique_ptr<CAnalogChannel> analogChannel_;
    std::unique_ptr<CDigitalChannel> digitalChannel_;
    std::unique_ptr<AnalogWorker> analogWorker_;
    std::unique_ptr<DigitalWorker> digitalWorker_;
};

} // namespace vantel::ctl
