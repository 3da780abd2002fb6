#include "pages/RC_SMSConf.h"

CRC_SMSConf::CRC_SMSConf() : CProtocolBook(protocols::kCidSms) {}
