#pragma once

namespace vantel {

// What a panel talks to its unit through: a worker over a channel of its
// own (units on the LAN), or a node on the shared gateway link. The close
// routine stops it, then releases it, before the panel's window goes.
class PanelLink {
public:
    virtual ~PanelLink() = default;

    // GUI thread, once the tick has stopped: when it returns no callback of
    // the panel runs any more and nothing waits for the unit. What was sent
    // before may still be answered by a unit that answers; one that does
    // not is given up rather than waited for.
    virtual void stop() = 0;
    // After stop(): gives the unit back (closes the channel, or unregisters
    // the node).
    virtual void release() = 0;
};

} // namespace vantel
