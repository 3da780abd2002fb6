#include "device/Fields.h"

#include <algorithm>
#include <charconv>
#include <vector>

#include "device/Bytes.h"
#include "device/DeviceData.h"
#include "device/Protocols.h"

using namespace layout;

namespace fields {

namespace {

constexpr std::string_view kApnPartNames[] = {"access_point", "user", "password"};

using protocols::Protocol;

// A member of a numbered group: `f` named by its group's stem, `index` from 0.
Field Member(Field f, std::size_t index, bool entryKey = false) {
    f.group = std::move(f.name);
    f.ordinal = static_cast<int>(index) + 1;
    f.name = f.group + "." + std::to_string(f.ordinal);
    f.entryKey = entryKey;
    return f;
}

Field Flag(std::string name, std::uint32_t bits, Page page, std::string_view label) {
    return {std::move(name), Place::Settings, kReportFlags, 4,     bits,
            Kind::Flag,      false,           page,         label, {}};
}

void AddProtocol(std::vector<Field>& t, const Protocol& p) {
    const std::string stem(p.prefix);
    t.push_back(Flag(stem + ".pstn_trouble", p.pstnFlag, p.page, "If PSTN line in trouble"));
    t.push_back(Flag(stem + ".option", p.optionFlag, p.page, "Second option"));
    if (p.variantFlag)
        t.push_back(Flag(stem + ".variant", p.variantFlag, p.page, "Protocol variant"));
    for (std::size_t i = 0; i < kMasksPerTable; ++i) {
        t.push_back(Member({stem + (p.destinations ? ".destination" : ".number"),
                            Place::Slot,
                            static_cast<std::size_t>(p.firstSlot) + i,
                            p.numberSize,
                            0,
                            Kind::Text,
                            false,
                            p.page,
                            p.destinations ? "Destination" : "Phone number",
                            {}},
                           i, true));
        if (p.hasAccounts)
            t.push_back(Member({stem + ".account",
                                Place::Settings,
                                AccountTableOffset(p.accounts) + i * kAccountSize,
                                kAccountSize,
                                0,
                                Kind::Account,
                                false,
                                p.page,
                                "Account",
                                {}},
                               i));
        t.push_back(Member({stem + ".events",
                            Place::Settings,
                            MaskTableOffset(p.masks) + i * kEventMaskSize,
                            kEventMaskSize,
                            0,
                            Kind::EventMask,
                            false,
                            p.page,
                            "Events",
                            {}},
                           i));
    }
}

// Where a page labels a field itself, the language section of that label, by field name (a
// numbered group by its stem).
constexpr std::pair<std::string_view, std::string_view> kSections[] = {
    {"communication.dtmf", "301"}, {"communication.cid_sms", "305"},
    {"communication.sms", "303"},  {"communication.ip", "304"},
    {"dtmf.pstn_trouble", "413"},  {"cid_sms.pstn_trouble", "413"},
    {"sms.pstn_trouble", "413"},   {"ip.pstn_trouble", "413"},
    {"dtmf.option", "501"},        {"cid_sms.option", "521"},
    {"sms.option", "501"},         {"ip.option", "501"},
    {"dtmf.variant", "611"},       {"dtmf.number", "811"},
    {"cid_sms.number", "811"},     {"sms.number", "811"},
    {"ip.destination", "812"},     {"supervisor.number", "811"},
    {"dtmf.account", "810"},       {"cid_sms.account", "810"},
    {"ip.account", "810"},         {"gprs.access_point", "801"},
    {"gprs.user", "803"},          {"gprs.password", "802"},
    {"supervisor.option", "707"},  {"tamper.gsm_error", "1006"},
    {"tamper.tcp_error", "1007"},  {"tamper.system_error", "1008"},
    {"end.cusd", "1009"},          {"end.text.1", "1002"},
    {"end.text.2", "1003"},
};

void AssignSections(std::vector<Field>& table) {
    for (Field& f : table)
        for (const auto& [stem, section] : kSections)
            if ((f.ordinal ? f.group : f.name) == stem) f.section = section;
}

std::vector<Field> BuildTable() {
    std::vector<Field> t;
    for (const Protocol& p : protocols::kProtocols)
        t.push_back(Flag("communication." + std::string(p.prefix), p.installedFlag,
                         Page::Communication, PageName(p.page)));
    t.push_back(Flag("communication.and", kFlagAnd, Page::Communication, "And"));
    t.push_back(Flag("communication.primary", kFlagPrimary, Page::Communication, "Primary"));
    for (const Protocol& p : protocols::kProtocols) AddProtocol(t, p);
    const char* apnLabels[] = {"Access point name", "User", "Password"};
    for (std::size_t part = 0; part < std::size(kApnPartNames); ++part)
        t.push_back({"gprs." + std::string(kApnPartNames[part]),
                     Place::ApnPart,
                     part,
                     kApnLoginSize,
                     0,
                     Kind::Text,
                     part == std::size_t(ApnPart::Password),
                     Page::Ip,
                     apnLabels[part],
                     {}});

    t.push_back({"supervisor.scenario",
                 Place::Settings,
                 kPhoneBookFlags,
                 1,
                 kScenarioMask,
                 Kind::Number,
                 false,
                 Page::Supervisor,
                 "Scenario",
                 {}});
    t.push_back({"supervisor.option",
                 Place::Settings,
                 kPhoneBookFlags,
                 1,
                 kSupervisorOption,
                 Kind::Flag,
                 false,
                 Page::Supervisor,
                 "Supervisor option",
                 {}});
    t.push_back({"supervisor.user_code",
                 Place::Slot,
                 kSlotUserCode,
                 kUserCodeStored,
                 0,
                 Kind::Text,
                 true,
                 Page::Supervisor,
                 "User account password",
                 {}});
    for (std::size_t i = 0; i < kSupervisorCount; ++i) {
        t.push_back(Member({"supervisor.number",
                            Place::Slot,
                            kSlotSupervisorNumber0 + i,
                            kPhoneNumberSize,
                            0,
                            Kind::Text,
                            false,
                            Page::Supervisor,
                            "Phone number",
                            {}},
                           i, true));
        t.push_back(Member({"supervisor.code",
                            Place::Slot,
                            kSlotSupervisorCode0 + i,
                            kSupervisorCodeSize,
                            0,
                            Kind::Text,
                            true,
                            Page::Supervisor,
                            "Password",
                            {}},
                           i));
    }

    t.push_back({"tamper.gsm_error",
                 Place::Settings,
                 kTamperEventFlags,
                 1,
                 kTamperGsmError,
                 Kind::Flag,
                 false,
                 Page::End,
                 "GSM Error",
                 {}});
    t.push_back({"tamper.tcp_error",
                 Place::Settings,
                 kTamperEventFlags,
                 1,
                 kTamperTcpError,
                 Kind::Flag,
                 false,
                 Page::End,
                 "TCP Error",
                 {}});
    t.push_back({"tamper.system_error",
                 Place::Settings,
                 kTamperEventFlags,
                 1,
                 kTamperSystemError,
                 Kind::Flag,
                 false,
                 Page::End,
                 "System Error",
                 {}});
    t.push_back({"end.cusd",
                 Place::Settings,
                 kCusdValue,
                 2,
                 0xFFFF,
                 Kind::Number,
                 false,
                 Page::End,
                 "AT_CUSD:",
                 {}});
    t.push_back({"end.text.1",
                 Place::Slot,
                 kSlotEndPageText1,
                 kEndPageTextSize,
                 0,
                 Kind::Text,
                 false,
                 Page::End,
                 "Text 1",
                 {}});
    t.push_back({"end.text.2",
                 Place::Slot,
                 kSlotEndPageText2,
                 kEndPageTextSize,
                 0,
                 Kind::Text,
                 false,
                 Page::End,
                 "Text 2",
                 {}});

    t.push_back({"sim.pin",
                 Place::ImagePin,
                 kSimPinOffset,
                 kSimPinSize,
                 0,
                 Kind::Text,
                 true,
                 Page::PinCode,
                 "New SIM PIN",
                 {}});
    t.push_back({"remote.password",
                 Place::DialPassword,
                 0,
                 kDialPasswordMax + 1,
                 0,
                 Kind::Text,
                 true,
                 Page::Connection,
                 "Password",
                 {}});
    AssignSections(t);
    return t;
}

std::uint32_t ReadNumber(const DeviceData& data, const Field& f) {
    const std::uint8_t* p = &data.settingsBlock[f.at];
    return f.size == 4 ? ReadLE32(p) : f.size == 2 ? ReadLE16(p) : p[0];
}

void WriteNumber(DeviceData& data, const Field& f, std::uint32_t value) {
    std::uint8_t* p = &data.settingsBlock[f.at];
    if (f.size == 4)
        WriteLE32(p, value);
    else if (f.size == 2)
        WriteLE16(p, static_cast<std::uint16_t>(value));
    else
        p[0] = static_cast<std::uint8_t>(value);
}

int LowestBit(std::uint32_t mask) {
    int shift = 0;
    while (mask && !(mask & 1u)) mask >>= 1, ++shift;
    return shift;
}

EventMask MaskAt(DeviceData& data, const Field& f) {
    return EventMask(&data.settingsBlock[f.at], kEventMaskSize);
}

constexpr int kMaskBits = static_cast<int>(kEventMaskSize * 8);

std::string EventList(ConstEventMask mask) {
    std::string list;
    for (int e = 0; e < kMaskBits; ++e) {
        if (!EventMaskTest(mask, e)) continue;
        if (!list.empty()) list += ' ';
        list += std::to_string(e);
    }
    return list;
}

bool ParseNumber(std::string_view text, std::uint32_t* value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc{} && end == text.data() + text.size();
}

SetResult SetEventList(DeviceData& data, const Field& f, std::string_view list) {
    std::array<std::uint8_t, kEventMaskSize> bits{};
    const EventMask mask(bits.data(), bits.size());
    while (!list.empty()) {
        const auto space = list.find(' ');
        std::uint32_t event = 0;
        if (!ParseNumber(list.substr(0, space), &event) || event >= kMaskBits)
            return SetResult::Malformed;
        EventMaskSet(mask, static_cast<int>(event), true);
        list = space == std::string_view::npos ? std::string_view{} : list.substr(space + 1);
    }
    std::copy(bits.begin(), bits.end(), MaskAt(data, f).begin());
    return SetResult::Done;
}

// The characters a part of the login may not hold, since they would split it elsewhere.
std::string_view ApnForbidden(ApnPart part) {
    switch (part) {
        case ApnPart::AccessPoint:
            return ",";
        case ApnPart::User:
            return ":";
        case ApnPart::Password:
            break;
    }
    return "";
}

std::string& PartOf(ApnLogin& login, ApnPart part) {
    switch (part) {
        case ApnPart::AccessPoint:
            return login.accessPoint;
        case ApnPart::User:
            return login.user;
        case ApnPart::Password:
            break;
    }
    return login.password;
}

SetResult SetApnPart(DeviceData& data, ApnPart part, std::string_view value) {
    ApnLogin login = SplitApnLogin(data.slotText(kSlotApnLogin));
    PartOf(login, part) = value;
    ApnPart refused = part;
    return SetApnLogin(data, login, &refused);
}

SetResult SetText(DeviceData& data, const Field& f, std::string_view value) {
    if (value.find('\0') != std::string_view::npos) return SetResult::Malformed;
    const int slot = static_cast<int>(f.at);
    if (slot == kSlotUserCode) {
        if (value.size() > kUserCodeStored) return SetResult::TooLong;
        data.setUserCode(value);
        return SetResult::Done;
    }
    return data.setSlotText(slot, value) ? SetResult::Done : SetResult::TooLong;
}

}  // namespace

std::span<const Field> NamedFields() {
    static const std::vector<Field> table = BuildTable();
    return table;
}

const Field* FindField(std::string_view name) {
    for (const Field& f : NamedFields())
        if (f.name == name) return &f;
    return nullptr;
}

bool InRecord(const Field& field) {
    return field.place == Place::Settings || field.place == Place::Slot ||
           field.place == Place::ApnPart;
}

bool HasField(const Field& field, std::uint8_t versionByte) {
    const bool endText = field.place == Place::Slot &&
                         (field.at == kSlotEndPageText1 || field.at == kSlotEndPageText2);
    return !endText || versionByte >= kVersionWithEndTexts;
}

bool SentBack(const Field& field, std::uint8_t versionByte) {
    const bool endText = field.place == Place::Slot &&
                         (field.at == kSlotEndPageText1 || field.at == kSlotEndPageText2);
    return InRecord(field) && (!endText || versionByte == kVersionWithEndTexts);
}

std::vector<FieldChange> ChangedFields(const DeviceData& before, const DeviceData& after) {
    std::vector<FieldChange> changes;
    for (const Field& f : NamedFields()) {
        if (f.place == Place::ImagePin && !after.newSimPinText().empty())
            changes.push_back({&f, {}, FieldValue(after, f)});
        if (!SentBack(f, after.versionByte())) continue;
        std::string was = FieldValue(before, f), will = FieldValue(after, f);
        if (was != will) changes.push_back({&f, std::move(was), std::move(will)});
    }
    return changes;
}

std::string_view PageName(Page page) {
    switch (page) {
        case Page::Communication:
            return "Communication";
        case Page::Dtmf:
            return "DTMF";
        case Page::CidSms:
            return "Contact ID via SMS";
        case Page::Sms:
            return "SMS";
        case Page::Ip:
            return "IP";
        case Page::Supervisor:
            return "Supervisor";
        case Page::End:
            return "End";
        case Page::PinCode:
            return "PIN code";
        case Page::Connection:
            break;
    }
    return "Connection";
}

std::string FieldValue(const DeviceData& data, const Field& f) {
    switch (f.place) {
        case Place::Slot:
            return data.slotText(static_cast<int>(f.at));
        case Place::ApnPart: {
            ApnLogin login = SplitApnLogin(data.slotText(kSlotApnLogin));
            return PartOf(login, static_cast<ApnPart>(f.at));
        }
        case Place::Settings:
            break;
        case Place::ImagePin:
            return data.newSimPinText();
        case Place::DialPassword:
            return {};
    }
    switch (f.kind) {
        case Kind::Account:
            return BoundedText(&data.settingsBlock[f.at], f.size);
        case Kind::EventMask:
            return EventList(ConstEventMask(&data.settingsBlock[f.at], kEventMaskSize));
        case Kind::Flag:
            return (ReadNumber(data, f) & f.mask) ? "1" : "0";
        case Kind::Number:
        case Kind::Text:
            break;
    }
    return std::to_string((ReadNumber(data, f) & f.mask) >> LowestBit(f.mask));
}

std::string_view PageSection(Page page) {
    if (const protocols::Protocol* protocol = protocols::OfPage(page))
        return protocol->titleSection;
    return page == Page::Supervisor ? "700" : std::string_view{};
}

int Ordinal(const Field& field) {
    return field.ordinal;
}

SetResult SetFieldValue(DeviceData& data, const Field& f, std::string_view value) {
    switch (f.place) {
        case Place::Slot:
            return SetText(data, f, value);
        case Place::ApnPart:
            return SetApnPart(data, static_cast<ApnPart>(f.at), value);
        case Place::Settings:
            break;
        case Place::ImagePin:
        case Place::DialPassword:
            return SetResult::Malformed;  // never part of a record
    }
    switch (f.kind) {
        case Kind::Account:
            if (value.size() > f.size) return SetResult::TooLong;
            if (value.find('\0') != std::string_view::npos) return SetResult::Malformed;
            StorePadded(&data.settingsBlock[f.at], f.size, value);
            return SetResult::Done;
        case Kind::EventMask:
            return SetEventList(data, f, value);
        case Kind::Flag:
        case Kind::Number:
        case Kind::Text:
            break;
    }
    std::uint32_t number = 0;
    if (f.kind == Kind::Flag ? value != "0" && value != "1" : !ParseNumber(value, &number))
        return SetResult::Malformed;
    if (f.kind == Kind::Flag) number = value == "1" ? 1 : 0;
    const int shift = LowestBit(f.mask);
    if (number > (f.mask >> shift)) return SetResult::TooLong;
    const std::uint32_t raw = ReadNumber(data, f);
    WriteNumber(data, f, (raw & ~f.mask) | ((number << shift) & f.mask));
    return SetResult::Done;
}

SetResult SetApnLogin(DeviceData& data, const ApnLogin& login, ApnPart* refused) {
    constexpr ApnPart kParts[] = {ApnPart::AccessPoint, ApnPart::User, ApnPart::Password};
    ApnLogin parts = login;
    for (const ApnPart part : kParts) {
        const std::string& text = PartOf(parts, part);
        if (text.find_first_of(ApnForbidden(part)) != std::string::npos ||
            text.find('\0') != std::string::npos) {
            *refused = part;
            return SetResult::Malformed;
        }
    }
    const std::string joined = JoinApnLogin(login);
    // The last part given is the one that runs over.
    *refused = !login.password.empty() ? ApnPart::Password
               : !login.user.empty()   ? ApnPart::User
                                       : ApnPart::AccessPoint;
    if (joined.size() >= kApnLoginSize) return SetResult::TooLong;
    // A password needs a user to stand behind: the page cannot write one alone.
    const ApnLogin back = SplitApnLogin(joined);
    if (back.accessPoint != login.accessPoint || back.user != login.user ||
        back.password != login.password)
        return SetResult::Malformed;
    data.setSlotText(kSlotApnLogin, joined);
    return SetResult::Done;
}

ApnLogin SplitApnLogin(std::string_view text) {
    const auto comma = text.find(',');
    if (comma == std::string_view::npos) return {std::string(text), {}, {}};
    const std::string_view rest = text.substr(comma + 1);
    const auto colon = rest.find(':');
    if (colon == std::string_view::npos)
        return {std::string(text.substr(0, comma)), std::string(rest), {}};
    return {std::string(text.substr(0, comma)), std::string(rest.substr(0, colon)),
            std::string(rest.substr(colon + 1))};
}

std::string JoinApnLogin(const ApnLogin& login) {
    std::string text = login.accessPoint;
    if (login.user.empty()) return text;
    text += ',' + login.user;
    if (!login.password.empty()) text += ':' + login.password;
    return text;
}

std::pair<std::size_t, std::size_t> ApnPasswordSpan(std::string_view text) {
    const auto comma = text.find(',');
    if (comma == std::string_view::npos) return {text.size(), text.size()};
    const auto colon = text.find(':', comma + 1);
    if (colon == std::string_view::npos) return {text.size(), text.size()};
    return {colon + 1, text.size()};
}

}  // namespace fields
