#pragma once

namespace vantel {

// Told when a canvas needs repainting. Called with the canvas lock held and
// possibly on a reply thread: an implementation only posts work to its own
// thread and never calls back into the canvas.
class CanvasObserver {
public:
    virtual ~CanvasObserver() = default;
    // scrollChanged: page or position changed and the scroll bar must follow.
    virtual void canvasInvalidated(bool scrollChanged) = 0;
};

} // namespace vantel
