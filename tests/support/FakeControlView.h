#pragma once

#include "ui/MemoryControls.h"

#include <deque>

namespace vantel::test {

// A windowless view whose answers to questions are scripted in order; OK once
// the script runs out.
class FakeControlView : public MemoryControls {
public:
    FakeControlView()
    {
        answer = [this](std::string_view) {
            if (answers.empty())
                return true;
            const bool next = answers.front();
            answers.pop_front();
            return next;
        };
    }

    std::deque<bool> answers;
};

} // namespace vantel::test
