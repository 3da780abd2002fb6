// The four ways the communicator reports, each described once: the field table, the
// communication page, its protocol's page and the handover record take their places and bits
// from here.
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
    // Language sections: its page's title and option, and its name and description on the
    // communication page.
    const char* titleSection;
    const char* optionSection;
    const char* nameSection;
    const char* descriptionSection;
    int firstSlot;  // its phone book's first number (or destination) slot
    std::size_t numberSize;
    bool destinations = false;  // its slots hold free-text IP destinations, not phone numbers
    MaskTable masks;
    bool filteredEvents = false;  // its events only those the unit's filter mask allows
    bool hasAccounts = false;
    AccountTable accounts = AccountTable::Dtmf;  // with hasAccounts
    bool accountAtRow = false;  // a row's account is stored at the row's index, not the number's
    std::uint32_t installedFlag;
    std::uint32_t supportedFlag;
    std::uint32_t pstnFlag;
    std::uint32_t optionFlag;
    std::uint32_t variantFlag = 0;  // the choice between two variants of the protocol, if any
};

// In the communication page's order: its rows carry the index.
inline constexpr Protocol kProtocols[] = {
    {.prefix = "dtmf",
     .page = fields::Page::Dtmf,
     .titleSection = "600",
     .optionSection = "501",
     .nameSection = "301",
     .descriptionSection = "307",
     .firstSlot = layout::kSlotDtmfNumber0,
     .numberSize = layout::kPhoneNumberSize,
     .masks = MaskTable::Dtmf,
     .filteredEvents = true,
     .hasAccounts = true,
     .accounts = AccountTable::Dtmf,
     .accountAtRow = true,
     .installedFlag = layout::kFlagDtmfInstalled,
     .supportedFlag = layout::kFlagDtmfSupported,
     .pstnFlag = layout::kFlagDtmfPstn,
     .optionFlag = layout::kFlagDtmfOption,
     .variantFlag = layout::kFlagDtmfVariant},
    {.prefix = "cid_sms",
     .page = fields::Page::CidSms,
     .titleSection = "520",
     .optionSection = "521",
     .nameSection = "305",
     .descriptionSection = "308",
     .firstSlot = layout::kSlotCidSmsNumber0,
     .numberSize = layout::kPhoneNumberSize,
     .masks = MaskTable::CidSms,
     .hasAccounts = true,
     .accounts = AccountTable::CidSms,
     .installedFlag = layout::kFlagCidSmsInstalled,
     .supportedFlag = layout::kFlagCidSmsSupported,
     .pstnFlag = layout::kFlagCidSmsPstn,
     .optionFlag = layout::kFlagCidSmsOption},
    {.prefix = "sms",
     .page = fields::Page::Sms,
     .titleSection = "500",
     .optionSection = "501",
     .nameSection = "303",
     .descriptionSection = "309",
     .firstSlot = layout::kSlotSmsNumber0,
     .numberSize = layout::kPhoneNumberSize,
     .masks = MaskTable::Sms,
     .installedFlag = layout::kFlagSmsInstalled,
     .supportedFlag = layout::kFlagSmsSupported,
     .pstnFlag = layout::kFlagSmsPstn,
     .optionFlag = layout::kFlagSmsOption},
    {.prefix = "ip",
     .page = fields::Page::Ip,
     .titleSection = "800",
     .optionSection = "501",
     .nameSection = "304",
     .descriptionSection = "316",
     .firstSlot = layout::kSlotIpDestination0,
     .numberSize = layout::kIpDestinationSize,
     .destinations = true,
     .masks = MaskTable::Ip,
     .filteredEvents = true,
     .hasAccounts = true,
     .accounts = AccountTable::Ip,
     .installedFlag = layout::kFlagIpInstalled,
     .supportedFlag = layout::kFlagIpSupported,
     .pstnFlag = layout::kFlagIpPstn,
     .optionFlag = layout::kFlagIpOption},
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
