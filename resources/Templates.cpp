// The dialog templates of the wizard's pages and dialogs, in dialog units.
#include "resources/Templates.h"

#ifndef _WIN32
#include <QtGlobal>
#endif
#include <cassert>

#include "resources/Resource.h"

using namespace ui;

namespace {

constexpr int kPageWidth = 380;
constexpr int kPageHeight = 182;
constexpr unsigned kListStyle = kSingleSel;

const DialogTemplate kWelcome{
    IDD_WELCOME,
    nullptr,
    kPageWidth,
    kPageHeight,
    {
        // A picture's or an unlabelled list's text is its name for assistive technology.
        {IDC_WELCOME_PICTURE, Kind::Picture,
         "Qubset, Qubrin communicator setup: a laptop and a communicator joined by a serial cable",
         0, 0, kPageWidth, kPageHeight, 0, IDB_WELCOME},
        {IDC_LANGUAGE, Kind::ComboList, "Language", 250, 160, 120, 14},
        {IDC_WORK_WITHOUT_UNIT, Kind::Button, "Work without a unit...", 10, 160, 120, 14},
    }};

const DialogTemplate kError{
    IDD_ERROR,
    nullptr,
    kPageWidth,
    kPageHeight,
    {
        {IDC_ERROR_PICTURE, Kind::Picture, "A communicator whose serial cable is unplugged", 7, 7,
         84, 168, 0, IDB_ERROR},
        {IDC_WORK_WITHOUT_UNIT, Kind::Button, "Work without a unit...", 105, 36, 128, 14},
        {IDC_DEMO_UNIT, Kind::Button, "Practice with a demo unit", 242, 36, 128, 14},
        {IDC_ERROR_MESSAGE, Kind::Static, "", 105, 60, 265, 60},
        {IDC_ERROR_PORTS, Kind::Edit, "", 105, 122, 265, 53,
         kMultiLine | kReadOnly | kVScroll | kHidden},
    }};

const DialogTemplate kConnection{
    IDD_CONNECTION,
    nullptr,
    kPageWidth,
    kPageHeight,
    {
        {IDC_STATUS_LINE, Kind::Static, "", 10, 6, 360, 10, kCenter},
        {IDC_STATIC, Kind::GroupBox, "", 10, 20, 360, 40},
        {IDC_LOCAL, Kind::Radio, "Local", 60, 32, 110, 18, kPushLike | kGroup},
        {IDC_REMOTE, Kind::Radio, "Remote", 210, 32, 110, 18, kPushLike},
        {IDC_STATIC, Kind::GroupBox, "", 10, 66, 360, 58},
        {IDC_PHONE_LABEL, Kind::Static, "Phone number:", 22, 81, 92, 10, kDisabled},
        {IDC_PHONE, Kind::Edit, "", 120, 79, 190, 13, kDisabled},
        {IDC_PASSWORD_LABEL, Kind::Static, "Password:", 22, 102, 92, 10, kDisabled},
        {IDC_PASSWORD, Kind::Edit, "", 120, 100, 100, 13, kDisabled | kPassword},
        {IDC_STATIC, Kind::GroupBox, "", 10, 130, 360, 40},
        {IDC_PROTOCOL_LABEL, Kind::Static, "Protocol:", 22, 146, 92, 10, kDisabled},
        {IDC_DATA_PROTOCOL, Kind::ComboEdit, "", 120, 144, 120, 14, kDisabled},
        {IDC_OPEN_SITE_FILE, Kind::Button, "Open site file...", 270, 144, 90, 14},
    }};

const DialogTemplate kTransfer{
    IDD_TRANSFER,
    nullptr,
    kPageWidth,
    kPageHeight,
    {
        {IDC_DIAL_STATUS, Kind::Static, "", 10, 8, 360, 20, kCenter},
        {IDC_DIAL_PROGRESS, Kind::ProgressBar, "", 10, 32, 360, 10},
        {IDC_DIAL_LOG, Kind::Edit, "", 10, 50, 360, 126, kMultiLine | kReadOnly | kVScroll},
    }};

const DialogTemplate kCommunication{
    IDD_COMMUNICATION,
    nullptr,
    kPageWidth,
    kPageHeight,
    {
        {IDC_COMMUNICATION_GROUP, Kind::GroupBox, "Communication: ", 7, 2, 366, 32},
        {IDC_PRIMARY, Kind::Radio, "Primary", 100, 13, 74, 16, kPushLike | kGroup},
        {IDC_BACKUP, Kind::Radio, "Backup", 206, 13, 74, 16, kPushLike},
        {IDC_INSTALLED_LABEL, Kind::Static, "This Modem uses the following items:", 7, 38, 155, 18},
        {IDC_INSTALLED, Kind::ListView, "", 7, 57, 155, 54, kListStyle},
        {IDC_AVAILABLE_LABEL, Kind::Static, "Click the Protocol that you want to install:", 218, 38,
         155, 18},
        {IDC_AVAILABLE, Kind::ListView, "", 218, 57, 155, 54, kListStyle | kSortAscending},
        {IDC_LEFT, Kind::BitmapButton, "LEFT", 170, 62, 40, 14},
        {IDC_RIGHT, Kind::BitmapButton, "RIGHT", 170, 86, 40, 14},
        {IDC_STATIC, Kind::GroupBox, "Protocol description", 7, 116, 300, 62},
        {IDC_DESCRIPTION, Kind::Edit, "", 13, 128, 288, 45, kMultiLine | kReadOnly},
        {IDC_INFO, Kind::Button, "Info", 316, 124, 57, 15},
        {IDC_AND, Kind::CheckBox, "And", 316, 152, 57, 12},
    }};

const DialogTemplate kEnd{
    IDD_END,
    nullptr,
    kPageWidth,
    kPageHeight,
    {
        {IDC_END_TITLE, Kind::Static, "", 10, 6, 360, 10, kCenter},
        {IDC_END_TEXT1_LABEL, Kind::Static, "", 10, 24, 300, 10},
        {IDC_END_TEXT1, Kind::Edit, "", 10, 36, 360, 13},
        {IDC_END_TEXT2_LABEL, Kind::Static, "", 10, 54, 300, 10, kHidden},
        {IDC_END_TEXT2, Kind::Edit, "", 10, 66, 360, 13, kHidden},
        {IDC_TAMPER_GROUP, Kind::GroupBox, "Send Tamper Event if:", 10, 88, 180, 66},
        {IDC_TAMPER_GSM, Kind::CheckBox, "GSM Error", 22, 104, 160, 11},
        {IDC_TAMPER_TCP, Kind::CheckBox, "TCP Error", 22, 120, 160, 11},
        {IDC_TAMPER_SYSTEM, Kind::CheckBox, "System Error", 22, 136, 160, 11, kHidden},
        {IDC_CUSD_LABEL, Kind::Static, "AT_CUSD:", 210, 104, 60, 10},
        {IDC_CUSD, Kind::Edit, "", 272, 102, 44, 13},
        {IDC_SAVE_SITE_FILE, Kind::Button, "Save site file...", 210, 122, 110, 14},
        {IDC_INCLUDE_PASSWORDS, Kind::CheckBox, "Include passwords", 210, 140, 160, 11},
        {IDC_END_CHANGE_COUNT, Kind::Static, "", 10, 160, 218, 18},
        {IDC_END_CHANGES, Kind::Button, "Changes...", 236, 161, 64, 14},
        {IDC_END_REPORT, Kind::Button, "Report...", 306, 161, 64, 14},
    }};

const DialogTemplate kChanges{
    IDD_CHANGES,
    "Changes",
    320,
    200,
    {
        {IDC_CHANGES_LABEL, Kind::Static, "What Finish will change in the unit:", 8, 6, 304, 10},
        {IDC_CHANGES_TEXT, Kind::Edit, "", 8, 18, 304, 152, kMultiLine | kReadOnly | kVScroll},
        {IDOK, Kind::Button, "OK", 135, 178, 50, 14, kDefault},
    }};

const DialogTemplate kInfo{IDD_INFO,
                           "Info",
                           230,
                           156,
                           {
                               {IDC_INFO_IDENTITY, Kind::Static, "", 10, 8, 210, 30},
                               {IDC_INFO_LAST_ERROR, Kind::Static, "Last error:", 10, 42, 210, 10},
                               {IDC_INFO_SOFTWARE, Kind::Static, "Software:", 10, 54, 210, 10},
                               {IDC_INFO_OPERATOR, Kind::Static, "Operator:", 10, 66, 210, 10},
                               {IDC_INFO_BAND, Kind::Static, "Band:", 10, 78, 210, 10},
                               {IDC_INFO_GSM, Kind::Static, "GSM:", 10, 90, 210, 10},
                               {IDC_INFO_GPRS, Kind::Static, "GPRS:", 10, 102, 210, 10},
                               {IDC_INFO_RSSI_LABEL, Kind::Static, "RSSI:", 10, 117, 34, 10},
                               {IDC_INFO_RSSI, Kind::ProgressBar, "", 46, 117, 174, 9},
                               {IDOK, Kind::Button, "OK", 90, 134, 50, 14, kDefault},
                           }};

const DialogTemplate kPinCode{IDD_PIN_CODE,
                              "Change PIN code",
                              150,
                              62,
                              {
                                  {IDC_PIN, Kind::Edit, "", 25, 12, 100, 13, kNumber},
                                  {IDOK, Kind::Button, "OK", 50, 38, 50, 14, kDefault},
                              }};

const DialogTemplate kPhoneBook{
    IDD_PHONEBOOK,
    nullptr,
    kPageWidth,
    kPageHeight,
    {
        {IDC_BOOK_LIST_LABEL, Kind::Static, "Phone number", 242, 29, 47, 8},
        {IDC_BOOK_LIST, Kind::ListView, "", 242, 41, 89, 112, kListStyle},
        {IDC_BOOK_ADD, Kind::Button, "Add", 340, 41, 38, 14},
        {IDC_BOOK_REMOVE, Kind::Button, "Remove", 340, 61, 38, 14},
        {IDC_BOOK_PROPERTIES, Kind::Button, "Properties", 340, 81, 38, 14},
        {IDC_BOOK_UP, Kind::Button, "Up", 340, 117, 38, 14},
        {IDC_BOOK_DOWN, Kind::Button, "Down", 340, 137, 38, 14},
        {IDC_BOOK_TITLE, Kind::Static, "Null configuration", 116, 7, 102, 10, kCenter},
        {IDC_BOOK_ICON, Kind::Picture, "", 275, 1, 20, 20, 0, IDI_SHEET},
        {IDC_BOOK_PSTN, Kind::CheckBox, "  If PSTN Line in trouble", 100, 98, 105, 22},
        {IDC_BOOK_OPTION, Kind::CheckBox, "And", 247, 166, 132, 10, kHidden},
        {IDC_SCENARIO_TITLE, Kind::Static, "Scenario", 19, 29, 117, 8, kCenter | kHidden},
        {IDC_SCENARIO_0, Kind::Radio, "", 19, 46, 122, 15, kPushLike | kGroup | kHidden},
        {IDC_SCENARIO_1, Kind::Radio, "", 19, 66, 121, 15, kPushLike | kHidden},
        {IDC_SCENARIO_2, Kind::Radio, "", 19, 86, 121, 15, kPushLike | kHidden},
        {IDC_APN_LABEL, Kind::Static, "Access point name:", 17, 124, 78, 8, kHidden},
        {IDC_APN, Kind::Edit, "", 99, 122, 130, 14, kHidden},
        {IDC_APN_USER_LABEL, Kind::Static, "User:", 19, 142, 76, 8, kHidden},
        {IDC_APN_USER, Kind::Edit, "", 99, 140, 130, 14, kHidden},
        {IDC_APN_PASSWORD_LABEL, Kind::Static, "Password:", 19, 162, 76, 8, kHidden},
        {IDC_APN_PASSWORD, Kind::Edit, "", 99, 160, 130, 14, kHidden | kPassword},
        {IDC_EVENT_TABLE, Kind::Button, "Event's table", 139, 62, 50, 42, kHidden},
    }};

const DialogTemplate kPhoneNumber{
    IDD_PHONE_NUMBER,
    "Edit phone number...",
    150,
    157,
    {
        {IDC_OLD_PASSWORD_LABEL, Kind::Static, "Old password:", 12, 11, 60, 8, kHidden | kDisabled},
        {IDC_OLD_PASSWORD, Kind::Edit, "", 74, 9, 43, 14, kHidden | kDisabled | kPassword},
        {IDC_NEW_PASSWORD_LABEL, Kind::Static, "New password:", 12, 31, 60, 8, kHidden | kDisabled},
        {IDC_NEW_PASSWORD, Kind::Edit, "", 74, 30, 43, 14, kHidden | kDisabled | kPassword},
        {IDC_CONFIRM_LABEL, Kind::Static, "Confirmation:", 12, 51, 60, 8, kHidden | kDisabled},
        {IDC_CONFIRM, Kind::Edit, "", 74, 49, 43, 14, kHidden | kDisabled | kPassword},
        {IDC_EVENT_FILTER, Kind::Button, "Event's filter", 29, 74, 90, 14, kHidden},
        {IDC_NUMBER_LABEL, Kind::Static, "Phone number:", 20, 95, 125, 8},
        {IDC_NUMBER, Kind::Edit, "", 20, 108, 109, 14},
        {IDOK, Kind::BitmapButton, "OK", 20, 131, 50, 14, kDefault},
        {IDCANCEL, Kind::BitmapButton, "CANCEL", 78, 131, 50, 14},
    }};

const DialogTemplate kEventList{
    IDD_EVENT_LIST,
    "Events list",
    409,
    319,
    {
        {IDC_SEND_LABEL, Kind::Static, "List of Events will be sent by the unit:", 15, 5, 157, 9,
         kCenter},
        {IDC_SEND_LIST, Kind::ListView, "", 11, 18, 160, 265,
         kReport | kEditLabels | kSortAscending},
        {IDC_POOL_LABEL, Kind::Static, "Event list:", 239, 5, 144, 9, kCenter},
        {IDC_POOL_LIST, Kind::ListView, "", 235, 18, 160, 265,
         kReport | kEditLabels | kSortAscending},
        {IDC_ADVANCE, Kind::Button, "Advance", 179, 69, 50, 14},
        {IDC_EVENTS_LEFT, Kind::BitmapButton, "LEFT", 184, 131, 40, 14},
        {IDC_EVENTS_RIGHT, Kind::BitmapButton, "RIGHT", 184, 172, 40, 14},
        {IDC_EVENTS_OPEN, Kind::Button, "Open", 179, 229, 50, 14, kHidden},
        {IDC_EVENTS_SAVE, Kind::Button, "Save", 179, 255, 50, 14, kHidden},
        {IDOK, Kind::BitmapButton, "OK", 142, 295, 50, 14, kDefault},
        {IDCANCEL, Kind::BitmapButton, "CANCEL", 217, 295, 50, 14},
    }};

}  // namespace

// The bundled images sit in a static library; a program that builds dialogs registers them.
// On Windows they are the executable's own resources.
static void RegisterImages() {
#ifndef _WIN32
    static const bool registered = [] {
        Q_INIT_RESOURCE(qubset);
        return true;
    }();
    (void)registered;
#endif
}

const DialogTemplate& GetTemplate(int id) {
    RegisterImages();
    switch (id) {
        case IDD_PHONEBOOK:
            return kPhoneBook;
        case IDD_PHONE_NUMBER:
            return kPhoneNumber;
        case IDD_COMMUNICATION:
            return kCommunication;
        case IDD_WELCOME:
            return kWelcome;
        case IDD_TRANSFER:
            return kTransfer;
        case IDD_ERROR:
            return kError;
        case IDD_EVENT_LIST:
            return kEventList;
        case IDD_CONNECTION:
            return kConnection;
        case IDD_INFO:
            return kInfo;
        case IDD_PIN_CODE:
            return kPinCode;
        case IDD_END:
            return kEnd;
        case IDD_CHANGES:
            return kChanges;
    }
    assert(false && "no such dialog template");
    return kError;
}
