// The four ways the communicator reports, each described once: the field table, the
// communication page and the handover record take their places and bits from here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string_view>

#include "device/DeviceData.h"
#include "device/Fields.h"
#include "device/Layout.h"

namespace protocols {

struct Protocol {
    std::string_view prefix;  // the stem of its field names
    fields::Page page;
    int firstSlot;  // its phone book's first number (or destination) slot
    std::size_t numberSize;
    MaskTable masks;
    bool hasAccounts;
    AccountTable accounts;  // with hasAccounts
    std::uint32_t installedFlag;
    std::uint32_t supportedFlag;
    std::uint32_t pstnFlag;
    std::uint32_t optionFlag;
};

// In the communication page's order: its rows carry the index.
inline constexpr Protocol kProtocols[] = {
    {"dtmf", fields::Page::Dtmf, layout::kSlotDtmfNumber0, layout::kPhoneNumberSize,
     MaskTable::Dtmf, true, AccountTable::Dtmf, layout::kFlagDtmfInstalled,
     layout::kFlagDtmfSupported, layout::kFlagDtmfPstn, layout::kFlagDtmfOption},
    {"cid_sms", fields::Page::CidSms, layout::kSlotCidSmsNumber0, layout::kPhoneNumberSize,
     MaskTable::CidSms, true, AccountTable::CidSms, layout::kFlagCidSmsInstalled,
     layout::kFlagCidSmsSupported, layout::kFlagCidSmsPstn, layout::kFlagCidSmsOption},
    {"sms", fields::Page::Sms, layout::kSlotSmsNumber0, layout::kPhoneNumberSize, MaskTable::Sms,
     false, AccountTable::Dtmf, layout::kFlagSmsInstalled, layout::kFlagSmsSupported,
     layout::kFlagSmsPstn, layout::kFlagSmsOption},
    {"ip", fields::Page::Ip, layout::kSlotIpDestination0, layout::kIpDestinationSize, MaskTable::Ip,
     true, AccountTable::Ip, layout::kFlagIpInstalled, layout::kFlagIpSupported,
     layout::kFlagIpPstn, layout::kFlagIpOption},
};
inline constexpr int kCount = static_cast<int>(std::size(kProtocols));
inline constexpr const Protocol& kDtmf = kProtocols[0];
inline constexpr const Protocol& kCidSms = kProtocols[1];
inline constexpr const Protocol& kSms = kProtocols[2];
inline constexpr const Protocol& kIp = kProtocols[3];

// The protocol whose page `page` is, or nullptr for the other pages.
constexpr const Protocol* OfPage(fields::Page page) {
    for (const Protocol& p : kProtocols)
        if (p.page == page) return &p;
    return nullptr;
}

}  // namespace protocols
