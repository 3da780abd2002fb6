// A phone book page of one protocol: numbers (or destinations) with their events and, where
// the protocol keeps them, account codes, the protocol's two options and, where it has two
// variants, the choice between them. Each protocol's page is this page over the protocol's
// descriptor, with captions of its own where it has more; the IP page adds its access point.
#pragma once

#include <span>

#include "device/Protocols.h"
#include "pages/PhoneBook.h"

class CProtocolBook : public CPhoneBook {
  public:
    explicit CProtocolBook(const protocols::Protocol& protocol,
                           std::span<const Caption> captions = {});

    bool OnInitDialog() override;
    bool OnSetActive() override;

    // How the page's rows sit in the record.
    static RowLayout RowsOf(const protocols::Protocol& protocol);

  protected:
    void Store() override;
    // The rows, then the options and the variant; stops with false where StoreRows does.
    bool StoreProtocol();

  private:
    const protocols::Protocol& m_protocol;
    const RowLayout m_rows;
};

// The protocol's icon, on its page and on the communication page.
const char* ProtocolIcon(const protocols::Protocol& protocol);
