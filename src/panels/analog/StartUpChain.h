#pragma once

#include "panels/framework/PanelBase.h"

#include <cstddef>
#include <functional>
#include <optional>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

namespace vantel {

// The reads a panel sends when it opens, one after the other: each answer
// is stored and counted, then the next read goes out; a read that fails
// reports the failure and ends the chain. The panel lists its reads as
// data (a request, what stores its answer, how many rows); `Panel` grants
// the chain its friendship for post, guarded, reportCommunicationFailure
// and countStartUpAnswer.
template <typename Panel> class StartUpChain {
public:
    // Sends the read of `row`; its answer sends step `next`.
    using Send = void (*)(const StartUpChain& chain, int row, std::size_t next);
    // `send` for rows 0 to `rows` - 1; none for 0.
    struct Reads {
        Send send;
        int rows;
    };

    StartUpChain(Panel& panel, const std::vector<Reads>& reads) : panel_(panel)
    {
        for (const Reads& read : reads)
            for (int row = 0; row < read.rows; ++row)
                steps_.push_back({read.send, row});
    }

    std::size_t length() const { return steps_.size(); }

    // Sends step `step`; past the last one the chain is done.
    void send(std::size_t step) const
    {
        if (step < steps_.size())
            steps_[step].send(*this, steps_[step].row, step + 1);
    }

    // A step: posts `Request` for `row` (as its channel where it has one);
    // `take(row, answer)` is the panel's member that stores the answer.
    template <typename Request, auto take> static void read(const StartUpChain& chain, int row, std::size_t next)
    {
        Request request{};
        if constexpr (requires { request.channel; })
            request.channel = row;
        request.done =
            chain.guardedAs(std::type_identity<decltype(Request::done)>{}, [&chain, row, next](const auto&... reply) {
                chain.template answered<take>(row, next, std::get<sizeof...(reply) - 1>(std::tie(reply...)));
            });
        chain.panel_.post(std::move(request));
    }

private:
    struct Step {
        Send send;
        int row;
    };

    // The request's callback, dropped once the panel is closing.
    template <typename... Args, typename Handler>
    std::function<void(Args...)> guardedAs(std::type_identity<std::function<void(Args...)>>, Handler handler) const
    {
        return panel_.template guarded<Args...>(std::move(handler));
    }

    template <auto take, typename Value>
    void answered(int row, std::size_t next, const std::optional<Value>& answer) const
    {
        if (!answer) {
            panel_.reportCommunicationFailure(AfterFailure::KeepOpen);
            return;
        }
        // Counted once stored, so whoever waits for the count finds the answer shown.
        (panel_.*take)(row, *answer);
        panel_.countStartUpAnswer();
        send(next);
    }

    Panel& panel_;
    std::vector<Step> steps_;
};

} // namespace vantel
