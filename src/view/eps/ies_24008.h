// SPDX-License-Identifier: Apache-2.0
// TS 24.008 IEs of the standard view decoded to their full meaning: mobile
// station classmark 3, quality of service, DRX parameter and extended DRX
// parameters (emm_ies.h and esm_ies.h declare their IE types).
#pragma once

#include "view/context.h"

namespace corvuna::view::eps {

// Mobile station classmark 3 (TS 24.008 10.5.1.7): the CSN.1 value part.
void DecodeMsClassmark3(Context& ctx, Octets v);
// Quality of service (TS 24.008 10.5.6.5), octets 3 to 22.
void DecodeQualityOfService(Context& ctx, Octets v);
// DRX parameter (TS 24.008 10.5.5.6), its two value octets.
void DecodeDrxParameter(Context& ctx, Octets v);
// Extended DRX parameters (TS 24.008 10.5.5.32), per mode of operation.
void DecodeExtendedDrxParameters(Context& ctx, Octets v);

}  // namespace corvuna::view::eps
