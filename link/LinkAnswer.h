// One answer of the link worker as the pages and the commands read it. The codes and values
// stay the worker's (WM_LINK_RESULT, the trace); what success is, for each of them, is said
// here and nowhere else.
#pragma once

#include <cstdint>

#include "link/DeviceCommands.h"
#include "link/LinkMessages.h"

struct LinkAnswer {
    LinkResult code{};
    std::intptr_t value = 0;  // what the exchange returned
    bool ok = false;          // the request did what it asked for

    static constexpr LinkAnswer Of(LinkResult code, std::intptr_t value) {
        return {code, value, Succeeded(code, value)};
    }
    // WM_LINK_RESULT's wParam and lParam.
    static constexpr LinkAnswer Of(std::intptr_t wParam, std::intptr_t lParam) {
        return Of(static_cast<LinkResult>(wParam), lParam);
    }

    // A search or an identification that went well: the record now holds a unit's.
    constexpr bool FoundUnit() const {
        return ok && (code == LinkResult::Scanned || code == LinkResult::Identified);
    }
    // Scanned: the COM number the unit answered on.
    constexpr int port() const { return static_cast<int>(value); }
    // OneByte: the unit's byte, 0 when none came.
    constexpr std::int8_t status() const { return static_cast<std::int8_t>(value); }

  private:
    static constexpr bool Succeeded(LinkResult code, std::intptr_t value) {
        switch (code) {
            case LinkResult::Scanned:
                return value != 0;  // the port number; 0: no unit on any port
            case LinkResult::Identified:
            case LinkResult::Uploaded:
            case LinkResult::ReadBack:
                return value == 0;  // else one of DeviceCommands.h's failure codes
            case LinkResult::EventsRead:
                // The pages want more than the least the link keeps: a catalogue of exactly
                // that length is asked for again.
                return value > exchange::kMinEventsReply;
            case LinkResult::OneByte:  // finished; the byte, or its absence, is the answer
            case LinkResult::Command17Sent:
            case LinkResult::Command18Sent:
                return true;
        }
        return false;
    }
};
