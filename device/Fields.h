// The record's named fields: what each byte the pages edit means to a person, under a stable
// English name. It is the one place that knows it; the wire trace's masking of secrets, site
// files, backups and the list of changes all speak of fields through this table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct DeviceData;

namespace fields {

enum class Place {
    Settings,      // settingsBlock: `at` is the byte offset, `size` the number's width
    Slot,          // stringTable: `at` is the slot number
    ApnPart,       // one part of the access point login (slot 1): `at` is an ApnPart
    ImagePin,      // the configuration image's bytes that carry a new SIM PIN
    DialPassword,  // the password text of a dialling request
};
enum class Kind { Text, Number, Flag, EventMask, Account };
enum class ApnPart : std::size_t { AccessPoint, User, Password };
enum class Page { Communication, Dtmf, CidSms, Sms, Ip, Supervisor, End, PinCode, Connection };

struct Field {
    std::string name;
    Place place;
    std::size_t at;
    std::size_t size;    // bytes the field may take, its terminator included
    std::uint32_t mask;  // Number and Flag: the bits of the little-endian number; else 0
    Kind kind;
    bool secret;
    Page page;
    std::string_view label;    // English words for it on its page
    std::string_view section;  // the language section of its label on its page, if any
    // A member of a numbered group ("sms.number.2"): the group's stem and its number from 1;
    // outside a group, empty and 0.
    std::string group{};
    int ordinal = 0;
    // The number of a phone book entry: without it the entry's other fields mean nothing.
    bool entryKey = false;
};

// Every named field: first the record's (settingsBlock and stringTable), then the two secrets
// that travel outside it (the new SIM PIN and the remote unit's password).
std::span<const Field> NamedFields();
const Field* FindField(std::string_view name);
// Whether the field lives in the settings record or its text table.
bool InRecord(const Field& field);
// Whether a unit of this record version has the field (the end page's texts come with 41).
bool HasField(const Field& field, std::uint8_t versionByte);
// Whether an upload to a unit of this record version carries the field (the end page's texts
// go back only to version 41).
bool SentBack(const Field& field, std::uint8_t versionByte);
std::string_view PageName(Page page);
// The language section of a page's name, if the page has one of its own.
std::string_view PageSection(Page page);
// The number a field of a numbered group carries in its name ("sms.number.2": 2), else 0.
int Ordinal(const Field& field);

// A record field's value as a text: a text as it stands, a number in decimal, a flag "1" or
// "0", an event mask as its event numbers in ascending order separated by spaces.
std::string FieldValue(const DeviceData& data, const Field& field);

enum class SetResult { Done, TooLong, Malformed };
// Writes a record field's value given as FieldValue writes it. Nothing is cut: a value that
// does not fit its place, or that the page could not have written, changes nothing.
SetResult SetFieldValue(DeviceData& data, const Field& field, std::string_view value);

struct FieldChange {
    const Field* field;
    std::string before;
    std::string after;
};
// The record fields an upload of `after` would change in a unit that holds `before`, in table
// order; a new SIM PIN in `after` counts as a change too. Values as FieldValue gives them.
std::vector<FieldChange> ChangedFields(const DeviceData& before, const DeviceData& after);

// The access point login as its three parts: "name,user:password".
struct ApnLogin {
    std::string accessPoint;
    std::string user;
    std::string password;
};
ApnLogin SplitApnLogin(std::string_view text);
std::string JoinApnLogin(const ApnLogin& login);
// Writes the whole login at once, checked as SetFieldValue checks each part; a refusal names
// the part at fault in `refused`.
SetResult SetApnLogin(DeviceData& data, const ApnLogin& login, ApnPart* refused);
// Where the password lies in a login text: [begin, end), empty when it has none.
std::pair<std::size_t, std::size_t> ApnPasswordSpan(std::string_view text);

}  // namespace fields
