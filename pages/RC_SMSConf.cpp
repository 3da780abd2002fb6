#include "pages/RC_SMSConf.h"

#include "resources/Resource.h"

CRC_SMSConf::CRC_SMSConf() : CProtocolBook(protocols::kCidSms, {IDI_CID_SMS, "520", "521"}) {}
