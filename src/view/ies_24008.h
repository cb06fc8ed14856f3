// SPDX-License-Identifier: Apache-2.0
// TS 24.008 IEs of the standard view decoded to their full meaning: mobile
// station classmark 3, quality of service, DRX parameter and extended DRX
// parameters, and the coded fields that classmark 2, MS network capability
// and EPS network feature support write with their texts.
#pragma once

#include "view/context.h"

namespace corvuna::view {

// Mobile station classmark 3 (TS 24.008 10.5.1.7): the CSN.1 value part.
void DecodeMsClassmark3(Context& ctx, Octets v);
// Quality of service (TS 24.008 10.5.6.5), octets 3 to 22.
void DecodeQualityOfService(Context& ctx, Octets v);
// DRX parameter (TS 24.008 10.5.5.6), its two value octets.
void DecodeDrxParameter(Context& ctx, Octets v);
// Extended DRX parameters (TS 24.008 10.5.5.32), per mode of operation.
void DecodeExtendedDrxParameters(Context& ctx, Octets v);

// The RF power capability of classmark 2 (table 10.5.6a), three bits.
void WriteRfPowerCapability(Context& ctx, unsigned value);
// The SS screening indicator (TS 24.080), two bits, under `label` (the
// classmark 2 and the MS network capability name it differently).
void WriteSsScreeningIndicator(Context& ctx, Label label, unsigned value);
// CS-LCS of EPS network feature support (TS 24.301 9.9.3.12A), two bits.
void WriteCsLcs(Context& ctx, unsigned value);

}  // namespace corvuna::view
