// Resource numbers: dialog templates, pictures, icons and control ids.
#pragma once

// Dialog templates.
inline constexpr int IDD_PHONEBOOK = 102;
inline constexpr int IDD_PHONE_NUMBER = 131;
inline constexpr int IDD_COMMUNICATION = 152;
inline constexpr int IDD_WELCOME = 153;
inline constexpr int IDD_TRANSFER = 154;
inline constexpr int IDD_ERROR = 205;
inline constexpr int IDD_EVENT_LIST = 206;
inline constexpr int IDD_CONNECTION = 207;
inline constexpr int IDD_INFO = 224;
inline constexpr int IDD_PIN_CODE = 225;
inline constexpr int IDD_END = 226;
inline constexpr int IDD_CHANGES = 227;

// Pictures and icons, as resource names.
inline constexpr const char* IDB_WELCOME = "bitmap/226";
inline constexpr const char* IDB_ERROR = "bitmap/216";
inline constexpr const char* IDI_SHEET = "icon/129";
inline constexpr const char* IDI_SUPERVISOR = "icon/145";
inline constexpr const char* IDI_SMS = "icon/154";
inline constexpr const char* IDI_DTMF = "icon/194";
inline constexpr const char* IDI_IP = "icon/197";
inline constexpr const char* IDI_CID_SMS = "icon/199";

// String resources.
inline constexpr const char* IDS_PHONEBOOK_FULL = "The phone book is full!";  // 108

// --- welcome page (153) ---
inline constexpr int IDC_WELCOME_PICTURE = 1000;
inline constexpr int IDC_LANGUAGE = 1077;

// --- error page (205) ---
inline constexpr int IDC_ERROR_PICTURE = 1001;
inline constexpr int IDC_ERROR_MESSAGE = 1076;
inline constexpr int IDC_ERROR_PORTS = 1002;

// --- connection page (207) ---
inline constexpr int IDC_STATUS_LINE = 1081;
inline constexpr int IDC_LOCAL = 1090;
inline constexpr int IDC_REMOTE = 1091;
inline constexpr int IDC_PHONE_LABEL = 1103;
inline constexpr int IDC_PHONE = 1013;
inline constexpr int IDC_PASSWORD_LABEL = 1104;
inline constexpr int IDC_PASSWORD = 1012;
inline constexpr int IDC_PROTOCOL_LABEL = 1105;
inline constexpr int IDC_DATA_PROTOCOL = 1178;

// --- transfer page (154) ---
inline constexpr int IDC_DIAL_STATUS = 1154;
inline constexpr int IDC_DIAL_PROGRESS = 1123;
inline constexpr int IDC_DIAL_LOG = 1130;

// --- communication page (152) ---
inline constexpr int IDC_COMMUNICATION_GROUP = 1175;
inline constexpr int IDC_PRIMARY = 1176;
inline constexpr int IDC_BACKUP = 1177;
inline constexpr int IDC_INSTALLED_LABEL = 1073;
inline constexpr int IDC_INSTALLED = 1048;
inline constexpr int IDC_AVAILABLE_LABEL = 1074;
inline constexpr int IDC_AVAILABLE = 1049;
inline constexpr int IDC_LEFT = 1061;
inline constexpr int IDC_RIGHT = 1062;
inline constexpr int IDC_DESCRIPTION = 1078;
inline constexpr int IDC_INFO = 1128;
inline constexpr int IDC_AND = 1162;

// --- end page (226) ---
inline constexpr int IDC_END_TITLE = 1156;
inline constexpr int IDC_END_TEXT1_LABEL = 1158;
inline constexpr int IDC_END_TEXT1 = 1157;
inline constexpr int IDC_END_TEXT2_LABEL = 1161;
inline constexpr int IDC_END_TEXT2 = 1159;
inline constexpr int IDC_TAMPER_GROUP = 1166;
inline constexpr int IDC_TAMPER_GSM = 1167;
inline constexpr int IDC_TAMPER_TCP = 1169;
inline constexpr int IDC_TAMPER_SYSTEM = 1170;
inline constexpr int IDC_CUSD_LABEL = 1173;
inline constexpr int IDC_CUSD = 1174;
inline constexpr int IDC_END_CHANGES = 1190;
inline constexpr int IDC_END_REPORT = 1191;
inline constexpr int IDC_END_CHANGE_COUNT = 1192;
inline constexpr int IDC_CHANGES_TEXT = 1193;
inline constexpr int IDC_CHANGES_LABEL = 1194;

// --- modem information dialog (224) ---
inline constexpr int IDC_INFO_IDENTITY = 1142;
inline constexpr int IDC_INFO_LAST_ERROR = 1152;
inline constexpr int IDC_INFO_SOFTWARE = 1151;
inline constexpr int IDC_INFO_OPERATOR = 1150;
inline constexpr int IDC_INFO_BAND = 1153;
inline constexpr int IDC_INFO_GSM = 1149;
inline constexpr int IDC_INFO_GPRS = 1147;
inline constexpr int IDC_INFO_RSSI_LABEL = 1146;
inline constexpr int IDC_INFO_RSSI = 1144;

// --- PIN code dialog (225) ---
inline constexpr int IDC_PIN = 1130;

// --- phone book pages (102) ---
inline constexpr int IDC_BOOK_LIST = 1015;
inline constexpr int IDC_BOOK_ADD = 1020;
inline constexpr int IDC_BOOK_REMOVE = 1021;
inline constexpr int IDC_BOOK_PROPERTIES = 1022;
inline constexpr int IDC_BOOK_UP = 114;
inline constexpr int IDC_BOOK_DOWN = 115;
inline constexpr int IDC_BOOK_LIST_LABEL = 1117;
inline constexpr int IDC_BOOK_TITLE = 1095;
inline constexpr int IDC_BOOK_ICON = 1096;
inline constexpr int IDC_BOOK_PSTN = 1093;
inline constexpr int IDC_BOOK_OPTION = 1163;
inline constexpr int IDC_SCENARIO_0 = 1066;
inline constexpr int IDC_SCENARIO_1 = 1067;
inline constexpr int IDC_SCENARIO_2 = 1068;
inline constexpr int IDC_SCENARIO_TITLE = 1165;
inline constexpr int IDC_APN = 1131;
inline constexpr int IDC_APN_USER = 1133;
inline constexpr int IDC_APN_PASSWORD = 1136;
inline constexpr int IDC_APN_LABEL = 1140;
inline constexpr int IDC_APN_USER_LABEL = 1143;
inline constexpr int IDC_APN_PASSWORD_LABEL = 1145;
inline constexpr int IDC_EVENT_TABLE = 1148;

// --- phone number dialog (131) ---
inline constexpr int IDC_NUMBER_LABEL = 1100;
inline constexpr int IDC_NUMBER = 1024;
inline constexpr int IDC_OLD_PASSWORD_LABEL = 1035;
inline constexpr int IDC_OLD_PASSWORD = 1025;
inline constexpr int IDC_NEW_PASSWORD_LABEL = 1036;
inline constexpr int IDC_NEW_PASSWORD = 1028;
inline constexpr int IDC_CONFIRM_LABEL = 1037;
inline constexpr int IDC_CONFIRM = 1031;
inline constexpr int IDC_EVENT_FILTER = 1164;

// --- event list dialog (206) ---
inline constexpr int IDC_SEND_LABEL = 1073;
inline constexpr int IDC_SEND_LIST = 1079;
inline constexpr int IDC_POOL_LABEL = 1074;
inline constexpr int IDC_POOL_LIST = 1049;
inline constexpr int IDC_ADVANCE = 1155;
inline constexpr int IDC_EVENTS_LEFT = 1061;
inline constexpr int IDC_EVENTS_RIGHT = 1062;
inline constexpr int IDC_EVENTS_OPEN = 1139;
inline constexpr int IDC_EVENTS_SAVE = 1135;

// --- site files: the connection page's and the end page's buttons ---
inline constexpr int IDC_OPEN_SITE_FILE = 1180;
inline constexpr int IDC_SAVE_SITE_FILE = 1181;
inline constexpr int IDC_INCLUDE_PASSWORDS = 1182;
// --- work without a unit: the welcome page's and the error page's buttons ---
inline constexpr int IDC_WORK_WITHOUT_UNIT = 1183;
inline constexpr int IDC_DEMO_UNIT = 1184;
