#include "graph/LECanvasRegistry.h"

#include <algorithm>

namespace vantel {

LECanvasRegistry& LECanvasRegistry::Instance()
{
    static LECanvasRegistry registry;
    return registry;
}

std::shared_ptr<LECanvas> LECanvasRegistry::CreateCanvas(int x, int y, int width, int height, int id,
                                                         bool withScrollBar)
{
    const std::lock_guard guard(mutex_);
    const auto free = std::find(slots_.begin(), slots_.end(), nullptr);
    if (free == slots_.end())
        return nullptr;
    if (id == 0)
        id = lastId_ + 1;
    lastId_ = id;
    *free = std::make_shared<LECanvas>(id, PixelRect{x, y, x + width, y + height}, withScrollBar);
    return *free;
}

std::shared_ptr<LECanvas> LECanvasRegistry::FindCanvas(int id) const
{
    const std::lock_guard guard(mutex_);
    for (const auto& slot : slots_)
        if (slot && slot->id() == id)
            return slot;
    return nullptr;
}

void LECanvasRegistry::DestroyCanvas(int id)
{
    const std::lock_guard guard(mutex_);
    for (auto& slot : slots_)
        if (slot && slot->id() == id) {
            slot.reset();
            return;
        }
}

int LECanvasRegistry::canvasCount() const
{
    const std::lock_guard guard(mutex_);
    return static_cast<int>(std::count_if(slots_.begin(), slots_.end(), [](const auto& s) { return s != nullptr; }));
}

} // namespace vantel
