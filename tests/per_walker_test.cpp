// SPDX-License-Identifier: Apache-2.0
// The PER walker over the tables generated from the ASN.1, on messages
// encoded by hand field by field (support/per_messages.h): S1AP and NGAP
// (aligned PER) and LTE RRC (unaligned), each value checked at its path;
// skipping, stopping, malformed and fragmented encodings, unknown keys and
// extension additions; and the S1AP, NGAP and RRC NAS extraction on them.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "capture/ap.h"
#include "capture/rrc.h"
#include "per/per_ngap.h"
#include "per/per_rrc.h"
#include "per/per_s1ap.h"
#include "per/walker.h"
#include "support/per_messages.h"
#include "support/test_support.h"

namespace corvuna::test {
namespace {

using per::Action;

std::string HexOf(const per::BitSpan& bits) {
    std::vector<uint8_t> octets(bits.octets());
    bits.CopyOctets(octets.data(), octets.size());
    std::string text;
    char two[3];
    for (const uint8_t o : octets) {
        std::snprintf(two, sizeof two, "%02x", o);
        text += two;
    }
    return text;
}

// Every value as "path=value" (the path after `prefix`), and the
// constructed elements skipped as "path{}".
class Recorder : public per::Visitor {
public:
    explicit Recorder(std::string prefix) : prefix_(std::move(prefix)) {}

    std::vector<std::string> events;
    per::TypeId skip = per::kNoType;
    per::TypeId stopAt = per::kNoType;

    Action Enter(const per::Walker& w, const per::Field& f) override {
        if (f.type != skip) return Action::kDescend;
        events.push_back(Path(w) + "{}");
        return Action::kSkip;
    }

    Action Primitive(const per::Walker& w, const per::Field& f, const per::Value& v) override {
        std::string value;
        switch (v.kind) {
            case per::Kind::kInteger:
                value = std::to_string(v.number);
                break;
            case per::Kind::kEnumerated:
                value = v.text != nullptr ? v.text : "extension " + std::to_string(v.number);
                break;
            case per::Kind::kBoolean:
                value = v.number != 0 ? "true" : "false";
                break;
            case per::Kind::kNull:
                value = "null";
                break;
            case per::Kind::kBitString: {
                char text[32];
                std::snprintf(text, sizeof text, "%llx/%zu",
                              static_cast<unsigned long long>(v.bits.Value(0, 64)), v.bits.bits);
                value = text;
                break;
            }
            case per::Kind::kOpenType:
                value = "open " + HexOf(v.bits) + (f.keyed ? " key " + std::to_string(f.key) : "");
                break;
            default:
                value = HexOf(v.bits);
                break;
        }
        events.push_back(Path(w) + "=" + value);
        return stopAt != per::kNoType && f.type == stopAt ? Action::kStop : Action::kSkip;
    }

private:
    std::string Path(const per::Walker& w) const {
        char path[512];
        w.Path(path, sizeof path);
        const std::string p = path;
        return p.rfind(prefix_, 0) == 0 ? p.substr(prefix_.size()) : p;
    }
    std::string prefix_;
};

struct Walked {
    per::Result result;
    std::vector<std::string> events;
};

Walked Walk(const per::Module& m, per::TypeId type, const Octets& encoding, const std::string& prefix,
            per::TypeId skip = per::kNoType, per::TypeId stopAt = per::kNoType) {
    Recorder r(prefix);
    r.skip = skip;
    r.stopAt = stopAt;
    per::Walker w(m, r);
    Walked out;
    out.result = w.Walk(type, encoding.data(), encoding.size());
    out.events = r.events;
    return out;
}

const Octets kAttachRequest = Hex("0741710831012098802351f002804000040201d031");
const std::string kInitial = "S1AP-PDU.initiatingMessage.value(InitialUEMessage).";

TEST(PerWalker, S1apInitialUeMessageFieldByField) {
    const Walked w = Walk(per::s1ap::kModule, per::s1ap::type::S1AP_PDU, S1apInitialUeMessage(kAttachRequest),
                          "S1AP-PDU.initiatingMessage.");
    ASSERT_EQ(w.result.status, per::Status::kOk) << w.result.reason << " " << w.result.path;
    const std::string ies = "value(InitialUEMessage).protocolIEs";
    const std::vector<std::string> expected = {
        "procedureCode=12",
        "criticality=ignore",
        ies + "[0].id=8",
        ies + "[0].criticality=reject",
        ies + "[0].value(ENB-UE-S1AP-ID)=77",
        ies + "[1].id=26",
        ies + "[1].criticality=reject",
        ies + "[1].value(NAS-PDU)=0741710831012098802351f002804000040201d031",
        ies + "[2].id=67",
        ies + "[2].criticality=reject",
        ies + "[2].value(TAI).pLMNidentity=00f110",
        ies + "[2].value(TAI).tAC=0001",
        ies + "[3].id=100",
        ies + "[3].criticality=reject",
        ies + "[3].value(EUTRAN-CGI).pLMNidentity=00f110",
        ies + "[3].value(EUTRAN-CGI).cell-ID=19b01/28",
        ies + "[4].id=134",
        ies + "[4].criticality=reject",
        ies + "[4].value(RRC-Establishment-Cause)=mo-Signalling",
        ies + "[5].id=96",
        ies + "[5].criticality=reject",
        ies + "[5].value(S-TMSI).mMEC=01",
        ies + "[5].value(S-TMSI).m-TMSI=2bf07d83",
    };
    EXPECT_EQ(w.events, expected);
}

TEST(PerWalker, SkippedElementsAreReadButNotTold) {
    const Octets pdu = S1apInitialUeMessage(kAttachRequest);
    // TAI skipped: nothing of it is told, and what follows it still is.
    const Walked skipped = Walk(per::s1ap::kModule, per::s1ap::type::S1AP_PDU, pdu, kInitial, per::s1ap::type::TAI);
    ASSERT_EQ(skipped.result.status, per::Status::kOk);
    EXPECT_NE(std::find(skipped.events.begin(), skipped.events.end(), "protocolIEs[2].value(TAI){}"),
              skipped.events.end());
    for (const std::string& e : skipped.events) EXPECT_EQ(e.find("tAC"), std::string::npos) << e;
    EXPECT_EQ(skipped.events.back(), "protocolIEs[5].value(S-TMSI).m-TMSI=2bf07d83");
    // Stopped at the NAS-PDU: nothing after it.
    const Walked stopped =
        Walk(per::s1ap::kModule, per::s1ap::type::S1AP_PDU, pdu, kInitial, per::kNoType, per::s1ap::type::NAS_PDU);
    EXPECT_EQ(stopped.result.status, per::Status::kStopped);
    EXPECT_TRUE(stopped.result.ok());
    EXPECT_EQ(stopped.events.back(), "protocolIEs[1].value(NAS-PDU)=0741710831012098802351f002804000040201d031");
}

TEST(PerWalker, MalformedEncodingsSayWhereAndKeepWhatCameBefore) {
    // The S-TMSI value cut after its first two octets: M-TMSI is missing.
    const Octets pdu = S1apInitialUeMessage(kAttachRequest, 2);
    const Walked w = Walk(per::s1ap::kModule, per::s1ap::type::S1AP_PDU, pdu, kInitial);
    EXPECT_EQ(w.result.status, per::Status::kMalformed);
    EXPECT_STREQ(w.result.reason, "the encoding ends early");
    EXPECT_STREQ(w.result.path, (kInitial + "protocolIEs[5].value(S-TMSI).m-TMSI").c_str());
    EXPECT_EQ(w.result.bit, pdu.size() * 8) << "M-TMSI would start at the next octet, the encoding's end";
    ASSERT_FALSE(w.events.empty());
    EXPECT_EQ(w.events.back(), "protocolIEs[5].value(S-TMSI).mMEC=01");

    // Cut anywhere, the walk fails without reading outside the buffer (each
    // cut encoding is a heap block of its own size, for the sanitizers).
    for (size_t n = 0; n < pdu.size(); ++n) {
        std::unique_ptr<uint8_t[]> cut(new uint8_t[n == 0 ? 1 : n]);
        std::copy(pdu.begin(), pdu.begin() + static_cast<std::ptrdiff_t>(n), cut.get());
        Recorder r("");
        per::Walker walker(per::s1ap::kModule, r);
        EXPECT_EQ(walker.Walk(per::s1ap::type::S1AP_PDU, cut.get(), n).status, per::Status::kMalformed) << n;
    }
}

TEST(PerWalker, UnknownKeysAndExtensionAdditionsAreSteppedOver) {
    // An IE of an id no IE set holds, between two known ones; then a TAI
    // whose extension bit is set, with one addition this release does not
    // know (a bit map of 1, then the addition as an open type).
    PerWriter tai;
    tai.Bits(1, 1);  // extension bit
    tai.Bits(0, 1);  // iE-Extensions absent
    tai.Raw({0x00, 0xF1, 0x10, 0x00, 0x02});
    tai.Bits(0, 1);  // normally small length: 1 addition
    tai.Bits(0, 6);
    tai.Bits(1, 1);  // it is present
    tai.OpenType({0xAA, 0xBB});
    const Octets pdu = S1apPdu(0, 12, {S1apIe(8, S1apEnbUeIdValue(5)), S1apIe(9999, {0x01, 0x02}),
                                       S1apIe(67, tai.Done()), S1apIe(26, S1apNasPduValue(kAttachRequest))});
    const Walked w = Walk(per::s1ap::kModule, per::s1ap::type::S1AP_PDU, pdu, kInitial);
    ASSERT_EQ(w.result.status, per::Status::kOk) << w.result.reason << " " << w.result.path;
    const std::vector<std::string> wanted = {
        "protocolIEs[1].value=open 0102 key 9999",
        "protocolIEs[2].value(TAI).tAC=0002",
        "protocolIEs[2].value(TAI)=open aabb",
        "protocolIEs[3].value(NAS-PDU)=0741710831012098802351f002804000040201d031",
    };
    for (const std::string& e : wanted) {
        EXPECT_NE(std::find(w.events.begin(), w.events.end(), e), w.events.end()) << e;
    }
}

// A length determinant and `content` in fragments of 16K (X.691 11.9.3.8).
Octets Fragmented(const Octets& content) {
    Octets out;
    size_t at = 0;
    while (content.size() - at >= 16384) {
        out.push_back(0xC1);
        out.insert(out.end(), content.begin() + static_cast<std::ptrdiff_t>(at),
                   content.begin() + static_cast<std::ptrdiff_t>(at + 16384));
        at += 16384;
    }
    const size_t rest = content.size() - at;
    if (rest < 128) {
        out.push_back(static_cast<uint8_t>(rest));
    } else {
        out.push_back(static_cast<uint8_t>(0x80 | rest >> 8));
        out.push_back(static_cast<uint8_t>(rest));
    }
    out.insert(out.end(), content.begin() + static_cast<std::ptrdiff_t>(at), content.end());
    return out;
}

TEST(PerWalker, FragmentedEncodingsAreReassembled) {
    // A NAS-PDU of 20000 octets: the octet string, the IE's value and the
    // message are each longer than 16K, so each comes in two fragments.
    Octets nas(20000);
    for (size_t i = 0; i < nas.size(); ++i) nas[i] = static_cast<uint8_t>(i * 7 + i / 256);
    PerWriter ie;
    ie.Constrained(26, 65536);
    ie.Bits(0, 2);
    ie.Raw(Fragmented(Fragmented(nas)));
    PerWriter message;
    message.Bits(0, 1);
    message.Constrained(1, 65536);
    message.Raw(ie.Done());
    PerWriter pdu;
    pdu.Bits(0, 1);
    pdu.Bits(0, 2);
    pdu.Constrained(11, 256);
    pdu.Bits(1, 2);
    pdu.Raw(Fragmented(message.Done()));
    const Octets encoding = pdu.Done();

    capture::ApDecoder decoder(capture::ApProtocol::kS1ap);
    capture::ApPdu out;
    ASSERT_EQ(decoder.Decode(capture::Bytes{encoding.data(), encoding.size()}, out), capture::ApResult::kOk)
        << out.problem;
    ASSERT_EQ(out.nasCount, 1u);
    EXPECT_EQ(Octets(out.nas[0].data, out.nas[0].data + out.nas[0].size), nas);

    // Without room to reassemble in, the walk says so.
    Recorder r("");
    per::Walker walker(per::s1ap::kModule, r);
    EXPECT_EQ(walker.Walk(per::s1ap::type::S1AP_PDU, encoding.data(), encoding.size()).status, per::Status::kNoRoom);
    // A fragment that is not followed by the rest is malformed.
    const Octets cut(encoding.begin(), encoding.begin() + 16384);
    EXPECT_EQ(decoder.Decode(capture::Bytes{cut.data(), cut.size()}, out), capture::ApResult::kMalformed);
}

TEST(PerWalker, S1apNasPduDecoderReadsTheInitialUeMessage) {
    const Octets pdu = S1apInitialUeMessage(kAttachRequest);
    capture::ApDecoder decoder(capture::ApProtocol::kS1ap);
    capture::ApPdu out;
    ASSERT_EQ(decoder.Decode(capture::Bytes{pdu.data(), pdu.size()}, out), capture::ApResult::kOk) << out.problem;
    EXPECT_EQ(out.kind, 0);
    EXPECT_EQ(out.procedure, 12);
    EXPECT_EQ(out.ranUeId, 77);
    EXPECT_EQ(out.coreUeId, -1);
    ASSERT_EQ(out.nasCount, 1u);
    EXPECT_EQ(Octets(out.nas[0].data, out.nas[0].data + out.nas[0].size), kAttachRequest);
    const capture::UeLocation& l = out.location;
    EXPECT_TRUE(l.sTmsi);
    EXPECT_EQ(l.mmec, 0x01);
    EXPECT_EQ(l.mTmsi, 0x2bf07d83u);
    EXPECT_TRUE(l.tai);
    EXPECT_EQ(Octets(l.taiPlmn, l.taiPlmn + 3), Hex("00f110"));
    EXPECT_EQ(l.tac, 1);
    EXPECT_TRUE(l.ecgi);
    EXPECT_EQ(l.cellId, 0x0019b01u);
    // The same IEs in another procedure give no location.
    Octets other = pdu;
    ASSERT_EQ(other[1], 12);
    other[1] = 13;  // procedureCode (octet-aligned): uplinkNASTransport
    ASSERT_EQ(decoder.Decode(capture::Bytes{other.data(), other.size()}, out), capture::ApResult::kOk);
    EXPECT_FALSE(out.location.sTmsi);
    EXPECT_FALSE(out.location.tai);
}

TEST(PerWalker, NgapPduSessionResourceSetupRequest) {
    const Octets nas = Hex("7e02a1b2c3d4017e0068010005");
    const Octets first = Hex("2e0501c1ffff91");
    const Octets second = Hex("2e0601c1");
    const Octets pdu = NgapPduSessionResourceSetupRequest(nas, first, second);
    const Walked w = Walk(per::ngap::kModule, per::ngap::type::NGAP_PDU, pdu,
                          "NGAP-PDU.initiatingMessage.value(PDUSessionResourceSetupRequest).protocolIEs");
    ASSERT_EQ(w.result.status, per::Status::kOk) << w.result.reason << " " << w.result.path;
    const std::string item = "[3].value(PDUSessionResourceSetupListSUReq)";
    const std::vector<std::string> wanted = {
        "[0].value(AMF-UE-NGAP-ID)=4328719365",
        "[1].value(RAN-UE-NGAP-ID)=7",
        "[2].value(NAS-PDU)=7e02a1b2c3d4017e0068010005",
        item + "[0].pDUSessionID=5",
        item + "[0].pDUSessionNAS-PDU=2e0501c1ffff91",
        item + "[0].s-NSSAI.sST=01",
        item + "[0].s-NSSAI.sD=000001",
        item + "[0].pDUSessionResourceSetupRequestTransfer=000000",
        item + "[1].pDUSessionID=6",
        item + "[1].pDUSessionNAS-PDU=2e0601c1",
    };
    for (const std::string& e : wanted) {
        EXPECT_NE(std::find(w.events.begin(), w.events.end(), e), w.events.end()) << e;
    }
    capture::ApDecoder decoder(capture::ApProtocol::kNgap);
    capture::ApPdu out;
    ASSERT_EQ(decoder.Decode(capture::Bytes{pdu.data(), pdu.size()}, out), capture::ApResult::kOk) << out.problem;
    EXPECT_EQ(out.procedure, 29);
    EXPECT_EQ(out.coreUeId, 0x0102030405);
    EXPECT_EQ(out.ranUeId, 7);
    ASSERT_EQ(out.nasCount, 3u);
    const Octets order[] = {nas, first, second};
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(Octets(out.nas[i].data, out.nas[i].data + out.nas[i].size), order[i]);
}

TEST(PerWalker, RrcUlInformationTransfer) {
    const Octets nas = Hex("075e");
    const Octets pdu = RrcUlInformationTransfer(nas);
    const Walked w = Walk(per::rrc::kModule, per::rrc::type::UL_DCCH_Message, pdu, "UL-DCCH-Message.message.c1.");
    ASSERT_EQ(w.result.status, per::Status::kOk) << w.result.reason;
    EXPECT_EQ(w.events, std::vector<std::string>{"ulInformationTransfer.criticalExtensions.c1.ulInformationTransfer-r8."
                                                 "dedicatedInfoType.dedicatedInfoNAS=075e"});
    capture::RrcMessage m;
    ASSERT_EQ(capture::DecodeRrc(capture::RrcChannel::kUlDcch, capture::Bytes{pdu.data(), pdu.size()}, m),
              capture::RrcResult::kOk)
        << m.problem;
    EXPECT_STREQ(m.name, "ulInformationTransfer");
    ASSERT_EQ(m.nasCount(), 1u);
    EXPECT_EQ(Octets(m.nas(0).data, m.nas(0).data + m.nas(0).size), nas);
    EXPECT_EQ(m.cipheringAlgorithm, -1);
    EXPECT_EQ(m.newCRnti, -1);
}

TEST(PerWalker, RrcConnectionReconfigurationAfterMeasConfigAndMobilityControlInfo) {
    const Octets nas1 = Hex("27aabbccdd0207420249");
    const Octets nas2 = Hex("5201c101");
    const Octets pdu = RrcConnectionReconfiguration(nas1, nas2);
    const Walked w = Walk(per::rrc::kModule, per::rrc::type::DL_DCCH_Message, pdu,
                          "DL-DCCH-Message.message.c1.rrcConnectionReconfiguration.");
    ASSERT_EQ(w.result.status, per::Status::kOk) << w.result.reason << " " << w.result.path;
    const std::string r8 = "criticalExtensions.c1.rrcConnectionReconfiguration-r8.";
    const std::string mci = r8 + "mobilityControlInfo.";
    const std::string common = mci + "radioResourceConfigCommon.";
    const std::vector<std::string> expected = {
        "rrc-TransactionIdentifier=2",
        r8 + "measConfig.measIdToRemoveList[0]=3",
        r8 + "measConfig.measIdToRemoveList[1]=7",
        r8 + "measConfig.s-Measure=50",
        mci + "targetPhysCellId=301",
        mci + "t304=ms1000",
        mci + "newUE-Identity=1234/16",
        common + "prach-Config.rootSequenceIndex=22",
        common + "pusch-ConfigCommon.pusch-ConfigBasic.n-SB=2",
        common + "pusch-ConfigCommon.pusch-ConfigBasic.hoppingMode=interSubFrame",
        common + "pusch-ConfigCommon.pusch-ConfigBasic.pusch-HoppingOffset=4",
        common + "pusch-ConfigCommon.pusch-ConfigBasic.enable64QAM=false",
        common + "pusch-ConfigCommon.ul-ReferenceSignalsPUSCH.groupHoppingEnabled=true",
        common + "pusch-ConfigCommon.ul-ReferenceSignalsPUSCH.groupAssignmentPUSCH=0",
        common + "pusch-ConfigCommon.ul-ReferenceSignalsPUSCH.sequenceHoppingEnabled=false",
        common + "pusch-ConfigCommon.ul-ReferenceSignalsPUSCH.cyclicShift=0",
        common + "ul-CyclicPrefixLength=len1",
        mci + "drb-ContinueROHC-r11=true",
        r8 + "dedicatedInfoNASList[0]=27aabbccdd0207420249",
        r8 + "dedicatedInfoNASList[1]=5201c101",
    };
    EXPECT_EQ(w.events, expected);
    capture::RrcMessage m;
    ASSERT_EQ(capture::DecodeRrc(capture::RrcChannel::kDlDcch, capture::Bytes{pdu.data(), pdu.size()}, m),
              capture::RrcResult::kOk)
        << m.problem;
    EXPECT_STREQ(m.name, "rrcConnectionReconfiguration");
    ASSERT_EQ(m.nasCount(), 2u);
    EXPECT_EQ(Octets(m.nas(0).data, m.nas(0).data + m.nas(0).size), nas1);
    EXPECT_EQ(Octets(m.nas(1).data, m.nas(1).data + m.nas(1).size), nas2);
    EXPECT_EQ(m.newCRnti, 0x1234);
    // Cut inside the second NAS PDU: the first is kept, and where it broke is said.
    const Octets cut(pdu.begin(), pdu.end() - 2);
    EXPECT_EQ(capture::DecodeRrc(capture::RrcChannel::kDlDcch, capture::Bytes{cut.data(), cut.size()}, m),
              capture::RrcResult::kMalformed);
    EXPECT_EQ(m.nasCount(), 1u);
    EXPECT_NE(std::string(m.problem).find("dedicatedInfoNASList[1]"), std::string::npos) << m.problem;
}

TEST(PerWalker, RrcSecurityModeCommandAndMessageNames) {
    const Octets smc = RrcSecurityModeCommand(2, 1);
    capture::RrcMessage m;
    ASSERT_EQ(capture::DecodeRrc(capture::RrcChannel::kDlDcch, capture::Bytes{smc.data(), smc.size()}, m),
              capture::RrcResult::kOk);
    EXPECT_STREQ(m.name, "securityModeCommand");
    EXPECT_EQ(m.cipheringAlgorithm, 2);
    EXPECT_STREQ(m.cipheringName, "eea2");
    EXPECT_EQ(m.integrityAlgorithm, 1);
    EXPECT_STREQ(m.integrityName, "eia1");
    EXPECT_EQ(m.nasCount(), 0u);
    // The names of the alternatives that are not messages of a release:
    // spares, and the message class extensions.
    const struct {
        capture::RrcChannel channel;
        Octets pdu;
        const char* name;
    } cases[] = {
        {capture::RrcChannel::kDlDcch, {0x78}, "spare1"},                           // 0, c1 index 15
        {capture::RrcChannel::kDlDcch, {0x80}, "messageClassExtension"},            // 1
        {capture::RrcChannel::kUlDcch, {0xC0}, "messageClassExtensionFuture-r11"},  // 1, 1
        {capture::RrcChannel::kUlCcch, {0xE0}, "messageClassExtensionFuture-r15"},  // 1, 1, 1
        {capture::RrcChannel::kDlCcch, {0xB0}, "spare1"},                           // 1, 0 (c2), 3
    };
    for (const auto& c : cases) {
        EXPECT_EQ(capture::DecodeRrc(c.channel, capture::Bytes{c.pdu.data(), c.pdu.size()}, m),
                  capture::RrcResult::kOk);
        EXPECT_STREQ(m.name, c.name);
    }
}

}  // namespace
}  // namespace corvuna::test
