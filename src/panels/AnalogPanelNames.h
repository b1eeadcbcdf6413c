#pragma once

#include "panels/analog/AnalogInputPanel.h"
#include "panels/analog/AnalogOutputPanel.h"
#include "panels/gateway/NodeInputLink.h"
#include "panels/gateway/NodeOutputLink.h"

namespace vantel {

// The panel classes of the analog units, by the names they are known by.
// A kind's row in the table gives its panel the shape of its rows (through
// the page) and its link: a worker over the unit's own channel, or the
// unit's node behind the gateway (NodeInputLink, NodeOutputLink). A unit
// behind the gateway is its wired twin's class on another link.
using DlgQZK17 = AnalogInputPanel;
using DlgQZK17V2 = AnalogInputPanel;
using CDlgQZK28 = AnalogInputPanel;
using DlgQZK17_GW = AnalogInputPanel;
using CDlgQZK19 = AnalogOutputPanel;
using CDlgQZK18 = AnalogOutputPanel;
using CDlgQZK33 = AnalogOutputPanel;
using CDlgQZK33_GW = AnalogOutputPanel;

} // namespace vantel
