// SPDX-License-Identifier: Apache-2.0
// The NAS protocols the standard view decodes.
#include "view/protocols.h"
#include "view/tables.h"

namespace corvuna::view {

std::span<const Protocol* const> Protocols() {
    static constexpr const Protocol* kProtocols[] = {&eps::kProtocol, &fivegs::kProtocol};
    return kProtocols;
}

const MessageTable* MessagesOf(uint8_t protocol) {
    for (const Protocol* p : Protocols()) {
        if (p->messages->protocols[0] == protocol || p->messages->protocols[1] == protocol) return p->messages;
    }
    return nullptr;
}

uint8_t MessageDirections(uint8_t protocol, uint8_t type) {
    const MessageTable* table = MessagesOf(protocol);
    return table != nullptr ? table->Directions(protocol, type) : 0;
}

}  // namespace corvuna::view
