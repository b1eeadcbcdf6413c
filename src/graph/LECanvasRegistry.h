#pragma once

#include "graph/LECanvas.h"

#include <array>
#include <memory>
#include <mutex>

namespace vantel {

// Process-wide table of canvases, looked up by control id. Canvases are
// shared: a panel callback that still holds one after DestroyCanvas keeps a
// live object instead of a dangling one.
class LECanvasRegistry {
public:
    static constexpr int kSlots = 128;
    static constexpr int kFirstAutomaticId = 1111;

    static LECanvasRegistry& Instance();

    // Null when all slots are used. id 0 chooses the last id + 1; the given or
    // chosen id becomes the last id.
    std::shared_ptr<LECanvas> CreateCanvas(int x, int y, int width, int height, int id, bool withScrollBar);
    std::shared_ptr<LECanvas> FindCanvas(int id) const;
    void DestroyCanvas(int id);
    int canvasCount() const;

private:
    mutable std::mutex mutex_;
    std::array<std::shared_ptr<LECanvas>, kSlots> slots_;
    int lastId_ = kFirstAutomaticId - 1;
};

} // namespace vantel
