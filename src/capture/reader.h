// SPDX-License-Identifier: Apache-2.0
// A capture read message by message: every NAS message of a pcap or pcapng
// file (S1AP, NGAP, GSMTAP, raw NAS, exported PDUs, the radio side), with
// what is known of it: where it was found, its direction and where that came
// from, its security header, the UE's security context (keys of a keys file
// or of the capture's S6a answers; EEA0 and 5G-EA0 followed per UE), the
// octets to decode, and the words of its comment line.  The program, the C
// API of the capture library and Python read captures through it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>

#include "capture/capture_file.h"
#include "capture/diameter.h"
#include "capture/frames.h"
#include "capture/radio/rrc_pdu.h"
#include "capture/security.h"
#include "security/facts.h"
#include "security/keys.h"
#include "security/tracker.h"
#include "view/facts.h"
#include "view/protection.h"
#include "view/sink.h"

namespace corvuna::capture {

struct ReaderOptions {
    int direction = 1;           // for raw NAS whose message type is sent both ways
    bool nullCiphering = false;  // ciphered messages use EEA0
    std::array<UserPayload, 16> users{};
    bool usersGiven[16] = {};
    const security::KeyStore* keys = nullptr;  // subscriber keys
    bool captureKeys = true;                   // the KASMEs of the capture's S6a answers are used
    bool showKeys = false;                     // keys appear in the facts
    // The RRC part that finds NAS inside LTE RRC; none: the build's own
    // (radio::MakeRrcReader), if it has one.
    radio::RrcReader* rrcReader = nullptr;
    // Problems met ("frame 12: ..."), as they are met; none: counted only.
    std::function<void(const std::string&)> warning;
    // Every LTE RRC PDU the radio side delivers, with its frame number.
    std::function<void(uint64_t, const radio::RrcPdu&)> rrcPdu;
    // Frames given: from firstFrame to lastFrame (0: to the end).  The
    // frames before firstFrame are still read, and their messages followed
    // by the security tracker and the radio side, so that a capture read in
    // frame ranges gives what reading it whole gives.
    // Whether each message's comment line words are made (Message::comment).
    bool comments = true;
    uint64_t firstFrame = 1;
    uint64_t lastFrame = 0;
    // Called before each frame is read: what was written of the frames
    // before may be flushed (a pipe's reader sees each message when its
    // frame arrives).
    std::function<void()> beforeFrame;
};

struct Counts {
    unsigned long frames = 0;
    unsigned long nas = 0;
    unsigned long plain = 0;
    unsigned long integrityOnly = 0;
    unsigned long ciphered = 0;
    unsigned long cipheredDecoded = 0;
    unsigned long asCipheredRrc = 0;       // LTE RRC PDUs reported as AS-ciphered
    unsigned long serviceRequests = 0;     // of `integrityOnly`: SERVICE REQUEST headers (short MAC)
    unsigned long reservedHeader = 0;      // EMM messages of a reserved security header type
    unsigned long decodedWithErrors = 0;   // standard view: decoded with errors
    unsigned long unknown = 0;             // standard view: of a type or protocol it does not know, or no NAS
    unsigned long fivegs = 0;              // of `nas`: 5GS NAS messages (NGAP)
    unsigned long warnings = 0;
    bool failed = false;  // the capture could not be read to its end
    // Security: protected messages by the check of their MAC, ciphered ones
    // by what became of their body, with the reasons of the unchecked ones.
    unsigned long macVerified = 0;
    unsigned long macFailed = 0;
    unsigned long macUnverifiable = 0;
    unsigned long deciphered = 0;
    unsigned long nullCiphered = 0;
    unsigned long guessedNull = 0;
    unsigned long leftCiphered = 0;  // bodies that stayed ciphered
    unsigned long s6aVectors = 0;
    std::map<std::string, unsigned long> unverifiableWhy;
    std::map<std::string, unsigned long> leftCipheredWhy;
    // The radio side.
    bool rrcReaderUsed = false;
    radio::RadioCounters radio;
};

// One NAS message of a capture; valid until the next message is read.
struct Message {
    enum class Kind : uint8_t {
        kEps,         // EPS NAS
        kFivegs,      // 5GS NAS (NGAP)
        kAsCiphered,  // an LTE RRC PDU that is AS-ciphered: its NAS is not read
    };
    Kind kind = Kind::kEps;
    uint64_t frame = 0;
    int64_t seconds = 0;
    uint32_t nanoseconds = 0;
    std::string time;  // "2019-06-09T12:52:52.575303877Z", to the capture's precision
    const FoundNas* found = nullptr;  // carrier, its ids, the octets as carried
    int direction = 1;
    const char* directionSource = "";  // "" (carried), "(from the MAC)", "(from the message type)", "(from -d)"
    ProtectedNas header;               // the security header; `plain` is the inner message when readable
    bool leftCiphered = false;         // a ciphered body that could not be read
    security::BodyState body = security::BodyState::kClear;  // what became of the body (as counted)
    const security::SecurityFacts* facts = nullptr;
    view::Protection protection;       // the facts as the view prints them
    std::string comment;               // the comment line's words, without "# "
    // Where the UE is: the TAI S1AP carried with this message or, failing
    // that, with an earlier one of the same UE association.
    bool ueTai = false;
    uint8_t ueTaiPlmn[3] = {};
    uint16_t ueTac = 0;
    // The standard view's result and flat facts (kCiphered for an
    // AS-ciphered PDU).
    view::Result result = view::Result::kCiphered;
    view::MessageFacts view;
};

class Reader {
public:
    explicit Reader(const ReaderOptions& options);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // Opens `path` ("-": standard input); false with the reason (which
    // names neither the file nor the program).
    bool Open(const std::string& path, std::string& error);
    // Reads the descriptor `fd` (a duplicate of it is taken).
    bool OpenDescriptor(int fd, std::string& error);

    // The next message; false at the end of the capture, or when reading
    // failed (counts().failed; the reason was given to the warning
    // function and is in error()).
    bool Next(Message& message);

    const Counts& counts() const { return counts_; }
    const std::string& error() const { return error_; }

private:
    bool Opened(bool opened, std::string& error);
    bool ReadFrame();
    void Warn(const std::string& what);
    void TakeDiameter(Bytes message);
    void Track(const FoundNas& f, security::SecurityFacts& facts, bool count = true);
    void Replay(const FoundNas& f);
    void Count(Message& m, security::BodyState body, const std::string& bodyWhy);
    void BuildNas(Message& m, const FoundNas& f);
    void BuildAsCiphered(Message& m, const FoundNas& f);

    ReaderOptions options_;
    CaptureFile file_;
    int linkType_ = -1;
    int digits_ = 6;
    CapturedFrame frame_;
    bool finished_ = false;  // the last frame was read and the radio side flushed
    size_t next_ = 0;        // the next of the frame's found NAS messages
    std::unique_ptr<radio::RrcReader> ownReader_;
    FrameDecoder decoder_;
    security::SecurityTracker tracker_;
    S6aMatcher matcher_;
    security::SecurityFacts facts_;
    std::unordered_map<std::string, UeLocation> taiOf_;  // the last TAI carried, by UE association
    Counts counts_;
    std::string error_;
    // The time stamp's text to the second, of the last second met.
    int64_t timeSeconds_ = INT64_MIN;
    std::string timePrefix_;
};

// Writes `m` as a record of `out`: JSON the capture's record (where it was
// found, its octets, the UE's security context, and the standard view under
// "view"), the text tree the standard view alone.  A message whose NAS was
// not read (AS-ciphered) writes its place only (JSON) or nothing (text).
// Without `unwrap`, the view decodes the octets as carried, knowing nothing
// of the UE's security context (no body read as deciphered or EEA0).
void WriteRecord(view::Sink& out, const Message& m, bool json, bool showKeys, bool unwrap = true);

// The summary of a capture's counts: "106 frames, 20 NAS messages: ...".
std::string Summary(const Counts& counts);

// A link type's name ("Ethernet", "user link type 2, DLT_USER2").
std::string LinkTypeName(int type);

// "2024-05-01T12:00:00.123456Z": a time stamp to `digits` fraction digits.
std::string IsoTime(int64_t seconds, uint32_t nanoseconds, int digits);

// The carrier as the listings of tshark name it: "s1ap:initialUEMessage(12)",
// "lte_rrc:dedicatedInfoNAS".
std::string CarrierText(const FoundNas& f);

// Where a direction that the carrier did not give came from: "mac",
// "message_type", "option"; "" when carried.
const char* DirectionSourceName(const char* source);

// The S1AP or NGAP procedure's name ("initialUEMessage"); "" for other
// carriers.
const char* ProcedureName(const FoundNas& f);

// The UE facts S1AP and NGAP carry, each given to `put` with its label, its
// text and whether it is a number, in order: the UE ids, S-TMSI
// ("01c0000001"), TAI and ECGI ("00f110-0001": the PLMN identity's three
// TBCD octets in hex, then the TAC or cell identity).
void ForEachUeFact(const FoundNas& f, const std::function<void(view::Label, const char*, bool)>& put);

}  // namespace corvuna::capture
