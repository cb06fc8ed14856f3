// ESM information request and response (TS 24.301 8.3.13, 8.3.14) and ESM
// status (8.3.15).
#pragma once

#include <cstdint>
#include <memory>

#include "api/shared_bodies.h"
#include "doc/writer.h"
#include "ie/sm/apn_pdn.h"
#include "ie/sm/pco.h"

namespace corvuna {

struct EsmInformationResponseRecord {
    uint8_t apnPresent;
    AccessPointName accessPointName;
    uint8_t pcoPresent;
    ProtocolConfigOptions pco;
};

// Parsed by ParseEmptyBody: the body is not read.
int RenderEsmInformationRequest(const EmptyBodyRecord& record, OutputDocument& out);

// A passing scan for the APN and the PCO.
std::unique_ptr<EsmInformationResponseRecord> ParseEsmInformationResponse(int direction, int32_t bodyLength,
                                                                          const uint8_t* body);
int RenderEsmInformationResponse(const EsmInformationResponseRecord& record, OutputDocument& out);

// Parsed by ParseSingleOctetBody: the ESM cause element of the first octet.
int RenderEsmStatus(const SingleOctetRecord& record, OutputDocument& out);

}  // namespace corvuna
