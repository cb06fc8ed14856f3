// SPDX-License-Identifier: Apache-2.0
// corvuna: decode LTE NAS messages and print their documents.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#if !defined(_WIN32)
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;
#endif

#include "cli/capture_run.h"
#include "cli/format.h"
#include "cli/io.h"
#include "cli/text_input.h"
#include "corvuna/corvuna.h"
#include "security/keys.h"
#include "view/facts.h"

namespace corvuna::cli {
namespace {

constexpr const char* kUsage =
    "usage: corvuna [options] [HEX ...]\n"
    "       corvuna [options] -r CAPTURE\n"
    "       corvuna report CAPTURE... [-o report.html] [--json FILE] [--keys FILE]\n"
    "\n"
    "Decodes LTE NAS messages (TS 24.301 EMM and ESM; 5GS NAS of TS 24.501 in\n"
    "the standard view) and prints one document per message.\n"
    "\n"
    "Messages come from the HEX arguments and the files of -f, in the order\n"
    "given, or else from standard input.  HEX may hold blanks, ':', '-' or '.'\n"
    "between octets and may start with 0x (\"0x075e\", \"07:5e\", \"07 5e\").\n"
    "A file holds one message a line: DIRECTION<TAB>HEX, or HEX alone (the\n"
    "direction of -d); further tab-separated columns, blank lines, lines\n"
    "starting with '#' and a header line whose first column is 'direction'\n"
    "are ignored.\n"
    "\n"
    "A capture (pcap or pcapng, gzip-compressed too; read as it arrives, so\n"
    "a pipe's messages show as their frames come) gives every NAS message it\n"
    "carries: in\n"
    "S1AP over SCTP (port 36412 or payload protocol 18, fragments reassembled),\n"
    "in GSMTAP (UDP port 4729, LTE NAS), in a user link type mapped to raw NAS\n"
    "or S1AP, or in Wireshark's exported PDUs; over Ethernet, Linux cooked,\n"
    "BSD loopback or raw IP.  On the radio side, LTE RRC PDUs are taken from\n"
    "MAC-LTE (user link types 147 and 149, as srsRAN and LTESniffer write\n"
    "them), RLC-LTE and GSMTAP LTE RRC, through RLC reassembly and PDCP.  Each message follows a '#' line with its frame,\n"
    "time, carrier, direction and security header.  Security-protected\n"
    "messages are decoded from their inner message when it is readable:\n"
    "integrity protected only, deciphered with the UE's keys, ciphered with\n"
    "EEA0 as the UE's SECURITY MODE COMMAND selected it (or --null-ciphering\n"
    "says), or, with no context seen, read as EEA0 when that gives a\n"
    "well-formed message (marked as a guess).  Each MAC is checked with the\n"
    "keys of --keys or those the capture's S6a answers carry.  Raw NAS carries\n"
    "no direction: a verified MAC or a message type sent one way only gives\n"
    "it, otherwise -d does.\n"
    "NGAP over SCTP (port 38412 or payload protocol 60) carries 5GS NAS: decoded\n"
    "in the standard view; the legacy document is EPS only, so a note stands for\n"
    "a 5GS message there.\n"
    "\n"
    "options:\n"
    "  -d, --direction DIR   direction of messages that do not give their own:\n"
    "                        1, ul, uplink (the default) or 0, dl, downlink\n"
    "  -f, --file FILE       read messages from FILE ('-' for standard input);\n"
    "                        may be repeated\n"
    "  -r, --read CAPTURE    read the messages of a pcap or pcapng file ('-' for\n"
    "                        standard input); may be repeated\n"
    "      --user-dlt N=WHAT user link type N (147-162) carries WHAT: nas (raw\n"
    "                        NAS, the default for 148), s1ap (S1AP PDUs),\n"
    "                        mac-lte-framed (MAC-LTE PDUs in Wireshark's\n"
    "                        framing, the default for 147) or udp (a UDP header,\n"
    "                        then MAC-LTE or RLC-LTE after its signature, or\n"
    "                        GSMTAP; the default for 149)\n"
    "  -T, --format FORMAT   legacy (the default): the legacy document;\n"
    "                        json: the standard view as JSON Lines, one object\n"
    "                        per message; text: the standard view as a tree;\n"
    "                        tsv: DIRECTION<TAB>HEX lines (with the frame, time\n"
    "                        and carrier of a capture's messages), as -f reads;\n"
    "                        rrc: a capture's LTE RRC PDUs, FRAME<TAB>CLASS<TAB>HEX\n"
    "                        and what the radio layers tell of each; ladder: a\n"
    "                        capture's messages one a line, between UE and network\n"
    "      --message NAMES   only these messages (\"attach_reject,service_reject\";\n"
    "                        \"Attach reject\" is taken too)\n"
    "      --ue ID           only the messages of one UE of the captures, from the\n"
    "                        first that names it by its IMSI, GUTI or TMSI; as a\n"
    "                        ladder unless -T says otherwise\n"
    "      --errors          only messages decoded with errors, left ciphered or\n"
    "                        whose MAC failed\n"
    "      --null-ciphering  ciphered messages use EEA0: their inner message is\n"
    "                        decoded\n"
    "      --no-unwrap       a capture's protected messages are decoded as carried\n"
    "                        (the document, the view and the TSV line)\n"
    "      --keys FILE       subscriber keys for a capture's NAS security: lines\n"
    "                        'IMSI|* k=HEX opc=HEX' (or op=HEX, or algorithm=xor),\n"
    "                        'IMSI|* kasme=HEX [ksi=N]' or 'IMSI|* knasenc=HEX\n"
    "                        knasint=HEX [eea=N] [eia=N]'; '#' starts a comment\n"
    "      --no-capture-keys leave the KASMEs of the capture's S6a answers unused\n"
    "      --show-keys       show the keys used on the comment lines and in JSON\n"
    "  -s, --stop-on-error   stop at the first bad input (in a capture: the first\n"
    "                        message decoded with errors or not NAS)\n"
    "  -h, --help            show this text\n"
    "  -V, --version         show the version\n"
    "  --                    what follows is HEX, even when it starts with '-'\n"
    "\n"
    "Options taking a value also take it as --option=VALUE.\n"
    "\n"
    "corvuna report runs the Python package's report (python3 -m corvuna report,\n"
    "with Debian's /usr/bin/python3 and python3-matplotlib): the procedures of\n"
    "each UE, their outcomes and causes, and the security facts of the\n"
    "captures, as one HTML page with its plots and as JSON.\n"
    "\n"
    "Exit status, the same whatever the output format (the standard view judges\n"
    "every message): 0 when every message was decoded, 1 when some input was\n"
    "bad or could not be read, or a message was decoded with errors or is of a\n"
    "message type or protocol the view does not know, 2 on a usage error, 3\n"
    "when all went well but some messages stayed ciphered.  Input lines longer\n"
    "than 1 MiB are passed over, binary input is refused at its first 64 KiB.\n";

struct Input {
    enum class Kind { kHex, kFile, kCapture } kind;
    std::string text;  // the HEX argument, or the file name ('-': standard input)
    int argument;      // its position among the HEX arguments (kHex)
};

struct Options {
    int direction = kUplink;
    Format format = Format::kLegacy;
    bool nullCiphering = false;
    bool stopOnError = false;
    std::vector<Input> inputs;
    CaptureOptions capture;  // with the selection (--message, --ue, --errors)
    security::KeyStore keys;
    bool flushEachFrame = false;  // standard output is a terminal or a pipe
};

class Decoder {
public:
    Decoder(const Options& options, Output& out) : options_(options), out_(out) {}

    // Decodes one message given as hex; false (with a message on stderr)
    // when it is bad input or could not be decoded.
    bool Run(int direction, std::string_view hex, const std::string& where) {
        std::string error;
        if (octets_.size() < hex.size() / 2 + 1) octets_.resize(hex.size() / 2 + 1);
        const size_t length = ParseHexInto(hex, octets_.data(), error);
        if (length == 0) return Fail(where, error);
        // The standard view judges every message, whatever the output: the
        // exit status and --message/--errors stand on it.
        view::MessageFacts facts;
        const view::Result judged = view::DecodeFacts(direction, octets_.data(), length, nullptr, facts);
        if (!Selected(facts, judged)) return true;
        if (options_.format != Format::kJson && options_.format != Format::kText) Count(judged);
        if (options_.format == Format::kTsv) {
            std::string line = std::to_string(direction) + '\t';
            for (size_t i = 0; i < length; ++i) {
                line += "0123456789abcdef"[octets_[i] >> 4];
                line += "0123456789abcdef"[octets_[i] & 0x0F];
            }
            out_.Write(line + '\n');
        } else if (options_.format == Format::kLegacy) {
            char* room = out_.Reserve(CORVUNA_MAX_DOCUMENT_LENGTH);
            room[0] = '\0';
            size_t needed = 0;
            const int result = CorvunaDecodeBounded(direction, octets_.data(), static_cast<int>(length), room,
                                                    CORVUNA_MAX_DOCUMENT_LENGTH + 1, &needed);
            if (result != CORVUNA_OK) {
                return Fail(where, "the message could not be decoded (code " + std::to_string(result) + ")");
            }
            out_.Commit(needed - 1);
        } else if (!RunView(direction, length, where)) {
            return false;
        }
        ++decoded_;
        if (length == 1 && where.rfind("argument", 0) == 0) ++oneOctetArguments_;
        const size_t header = HeaderOctets(octets_.data(), length);
        if (length < header) {
            return Fail(where, std::to_string(length) + " octet" + (length == 1 ? "" : "s") +
                                   ", shorter than the " + std::to_string(header) +
                                   "-octet header of its protocol: only the frame was decoded");
        }
        return true;
    }

    // The standard view of the message, a JSON line or a text tree and a
    // blank line.
    bool RunView(int direction, size_t length, const std::string& where) {
        char* room = out_.Reserve(CORVUNA_MAX_VIEW_LENGTH + 1);
        size_t needed = 0;
        const int format = options_.format == Format::kJson ? CORVUNA_VIEW_JSON : CORVUNA_VIEW_TEXT;
        const int result =
            CorvunaDecodeView(direction, octets_.data(), static_cast<int>(length), format,
                              options_.nullCiphering ? CORVUNA_VIEW_NULL_CIPHERING : 0u, room,
                              CORVUNA_MAX_VIEW_LENGTH + 1, &needed);
        if (result < 0) return Fail(where, "the message could not be decoded (code " + std::to_string(result) + ")");
        out_.Commit(needed - 1);
        out_.Write("\n");
        Count(static_cast<view::Result>(result));
        return true;
    }

    void Count(view::Result result) {
        if (result == view::Result::kDecodedWithErrors) ++viewErrors_;
        if (result == view::Result::kUnknownMessage || result == view::Result::kNotNas) ++unknown_;
        if (result == view::Result::kCiphered) ++leftCiphered_;
    }

    // --message and --errors on a message given as hex.
    bool Selected(const view::MessageFacts& facts, view::Result result) const {
        const CaptureOptions& c = options_.capture;
        if (c.errorsOnly && result != view::Result::kDecodedWithErrors && result != view::Result::kCiphered) {
            return false;
        }
        if (c.messages.empty()) return true;
        for (const std::string& wanted : c.messages) {
            if (wanted == facts.message.view()) return true;
        }
        return false;
    }

    bool Fail(const std::string& where, const std::string& what) {
        std::fprintf(stderr, "corvuna: %s: %s\n", where.c_str(), what.c_str());
        ++failures_;
        return false;
    }

    // Decodes the lines of one stream; false when reading must stop.
    bool RunStream(std::FILE* in, const std::string& name) {
        LineReader reader(in);
        std::string_view line;
        long number = 0;
        while (reader.Next(line)) {
            ++number;
            if (reader.LineTooLong()) {
                const bool go = Fail(name + ":" + std::to_string(number),
                                     "a line longer than " + std::to_string(LineReader::kMaxLine >> 20) +
                                         " MiB: not a message line (passed over)");
                if (!go && options_.stopOnError) return false;
                continue;
            }
            const InputLine input = ClassifyLine(line);
            if (input.kind == InputLine::Kind::kSkip) continue;
            const std::string where = name + ":" + std::to_string(number);
            const bool ok = input.kind == InputLine::Kind::kError
                                ? Fail(where, input.error)
                                : Run(input.direction.value_or(options_.direction), input.hex, where);
            if (!ok && options_.stopOnError) return false;
        }
        if (*reader.Binary() != '\0') {
            const std::string what = reader.Binary();
            // A capture given where lines are read: say how it is read.
            const std::string hint = what.find("capture") != std::string::npos || what.find("gzip") != std::string::npos
                                         ? ": read a capture with -r (corvuna -r " + (name == "stdin" ? std::string("-") : name) + ")"
                                         : ", not lines of hex messages";
            Fail(name, "holds " + what + hint);
            return !options_.stopOnError;
        }
        if (reader.Failed()) {
            Fail(name, std::string("cannot read: ") + std::strerror(errno));
            return !options_.stopOnError;
        }
        return true;
    }

    bool RunFile(const std::string& file) {
        if (file == "-") return RunStream(stdin, "stdin");
        std::FILE* in = std::fopen(file.c_str(), "rb");
        if (in == nullptr) {
            Fail(file, std::string("cannot open: ") + std::strerror(errno));
            return !options_.stopOnError;
        }
        const bool go = RunStream(in, file);
        std::fclose(in);
        return go;
    }

    // The messages of one capture; false when reading must stop.
    bool RunCaptureFile(const std::string& path, bool severalCaptures) {
        CaptureOptions capture = options_.capture;
        capture.direction = options_.direction;
        capture.nullCiphering = options_.nullCiphering;
        capture.format = options_.format;
        capture.stopOnError = options_.stopOnError;
        capture.flushEachFrame = options_.flushEachFrame;
        capture.fileColumn = severalCaptures;
#ifdef CORVUNA_WITH_CAPTURE
        const CaptureRun run = RunCapture(path, capture, out_);
        const CaptureCounts& c = run.counts;
#else
        (void)capture;
        (void)severalCaptures;
        CaptureCounts c;
        c.failed = true;
        std::fprintf(stderr, "corvuna: %s: this build reads no captures (it was built without libpcap)\n",
                     path.c_str());
#endif
        decoded_ += c.nas;
        viewErrors_ += c.decodedWithErrors;
        leftCiphered_ += c.leftCiphered;
        unknown_ += c.unknown;
#ifdef CORVUNA_WITH_CAPTURE
        if (c.frames > 0 || !c.failed) {
            std::string summary = capture::Summary(c);
            const CaptureOptions& o = options_.capture;
            if (!o.messages.empty() || !o.ue.empty() || o.errorsOnly) {
                summary += "; " + std::to_string(run.selected) + " selected";
            }
            std::fprintf(stderr, "corvuna: %s: %s\n", path == "-" ? "stdin" : path.c_str(), summary.c_str());
        }
        if (run.stopped) {
            ++failures_;
            return false;
        }
#endif
        if (c.failed) ++failures_;
        return !c.failed || !options_.stopOnError;
    }

    int ExitStatus() {
        if (oneOctetArguments_ > 1) {
            std::fprintf(stderr, "corvuna: note: hex with blanks between octets is one argument only when quoted\n");
        }
        if (viewErrors_ > 0) {
            const bool view = options_.format == Format::kJson || options_.format == Format::kText;
            std::fprintf(stderr, "corvuna: %lu message%s decoded with errors (%s)\n", viewErrors_,
                         viewErrors_ == 1 ? "" : "s",
                         view ? "marked \"error\" in the output" : "as the standard view judges them: -T text shows where");
        }
        if (unknown_ > 0) {
            std::fprintf(stderr, "corvuna: %lu message%s of a type or protocol the view does not know\n", unknown_,
                         unknown_ == 1 ? "" : "s");
        }
        if (leftCiphered_ > 0) {
            std::fprintf(stderr, "corvuna: %lu message%s left ciphered (result \"ciphered\")\n", leftCiphered_,
                         leftCiphered_ == 1 ? "" : "s");
        }
        if (failures_ > 0) {
            std::fprintf(stderr, "corvuna: %lu message%s decoded, %lu input%s not decoded\n", decoded_,
                         decoded_ == 1 ? "" : "s", failures_, failures_ == 1 ? "" : "s");
        }
        if (failures_ > 0 || viewErrors_ > 0 || unknown_ > 0) return 1;
        return leftCiphered_ > 0 ? 3 : 0;
    }

private:
    const Options& options_;
    Output& out_;
    std::vector<uint8_t> octets_;
    unsigned long decoded_ = 0;
    unsigned long failures_ = 0;
    unsigned long oneOctetArguments_ = 0;
    unsigned long viewErrors_ = 0;
    unsigned long leftCiphered_ = 0;
    unsigned long unknown_ = 0;
};

int Usage(const std::string& problem) {
    std::fprintf(stderr, "corvuna: %s\n(corvuna --help tells the options)\n", problem.c_str());
    return 2;
}

// Parses the command line into `options`; an exit status when the program
// is to end at once (help, version, usage error), else -1.
int ParseArguments(int argc, char** argv, Options& options) {
    int hexArguments = 0;
    bool formatGiven = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            options.inputs.push_back({Input::Kind::kHex, arg, ++hexArguments});
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        bool hasValue = false;
        if (arg.rfind("--", 0) == 0 && arg.find('=') != std::string::npos) {
            name = arg.substr(0, arg.find('='));
            value = arg.substr(arg.find('=') + 1);
            hasValue = true;
        }
        auto takeValue = [&]() -> bool {
            if (hasValue) return true;
            if (i + 1 >= argc) return false;
            value = argv[++i];
            return true;
        };
        if (name == "-h" || name == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (name == "-V" || name == "--version") {
            std::printf("corvuna %d.%d.%d\n", CORVUNA_VERSION_MAJOR, CORVUNA_VERSION_MINOR, CORVUNA_VERSION_PATCH);
            return 0;
        }
        if (name == "-s" || name == "--stop-on-error") {
            if (hasValue) return Usage(name + " takes no value");
            options.stopOnError = true;
        } else if (name == "-d" || name == "--direction") {
            if (!takeValue()) return Usage(name + " needs a value");
            auto direction = ParseDirection(value);
            if (!direction) {
                return Usage("unknown direction '" + Printable(value) + "' (use 1, ul, uplink, 0, dl or downlink)");
            }
            options.direction = *direction;
        } else if (name == "-T" || name == "--format") {
            if (!takeValue()) return Usage(name + " needs a value");
            formatGiven = true;
            if (value == "legacy") {
                options.format = Format::kLegacy;
            } else if (value == "json") {
                options.format = Format::kJson;
            } else if (value == "text") {
                options.format = Format::kText;
            } else if (value == "tsv") {
                options.format = Format::kTsv;
            } else if (value == "rrc") {
                options.format = Format::kRrc;
            } else if (value == "ladder") {
                options.format = Format::kLadder;
            } else {
                return Usage("unknown format '" + Printable(value) + "' (use legacy, json, text, tsv, rrc or ladder)");
            }
        } else if (name == "-r" || name == "--read") {
            if (!takeValue()) return Usage(name + " needs a value");
            options.inputs.push_back({Input::Kind::kCapture, value, 0});
        } else if (name == "--message") {
            if (!takeValue()) return Usage(name + " needs a value");
            size_t at = 0;
            while (at <= value.size()) {
                const size_t comma = std::min(value.find(',', at), value.size());
                const std::string key = MessageKey(std::string_view(value).substr(at, comma - at));
                if (key.empty()) return Usage("--message takes message names, as 'attach_request,attach_reject'");
                options.capture.messages.push_back(key);
                at = comma + 1;
            }
        } else if (name == "--ue") {
            if (!takeValue()) return Usage(name + " needs a value");
            if (value.empty()) return Usage("--ue takes an IMSI, a GUTI or a TMSI");
            options.capture.ue = value;
        } else if (name == "--errors") {
            if (hasValue) return Usage(name + " takes no value");
            options.capture.errorsOnly = true;
        } else if (name == "--no-unwrap") {
            if (hasValue) return Usage(name + " takes no value");
            options.capture.noUnwrap = true;
        } else if (name == "--user-dlt") {
            if (!takeValue()) return Usage(name + " needs a value");
            const size_t eq = value.find('=');
            int type = 0;
            if (eq != std::string::npos) {
                try {
                    size_t used = 0;
                    type = std::stoi(value.substr(0, eq), &used);
                    if (used != eq) type = 0;
                } catch (const std::exception&) {
                    type = 0;
                }
            }
            const std::string what = eq == std::string::npos ? "" : value.substr(eq + 1);
            const int payload = capture::UserPayloadFromName(what);
            if (type < 147 || type > 162 || payload < 0) {
                return Usage("--user-dlt takes N=WHAT with N from 147 to 162 and WHAT nas, s1ap, mac-lte-framed or "
                             "udp, not '" + Printable(value) + "'");
            }
            options.capture.users[type - 147] = static_cast<capture::UserPayload>(payload);
            options.capture.usersGiven[type - 147] = true;
        } else if (name == "--keys") {
            if (!takeValue()) return Usage(name + " needs a value");
            std::string error;
            if (!security::LoadKeysFile(value, options.keys, error)) {
                std::fprintf(stderr, "corvuna: %s\n", error.c_str());
                return 2;
            }
            options.capture.keys = &options.keys;
        } else if (name == "--no-capture-keys") {
            if (hasValue) return Usage(name + " takes no value");
            options.capture.captureKeys = false;
        } else if (name == "--show-keys") {
            if (hasValue) return Usage(name + " takes no value");
            options.capture.showKeys = true;
        } else if (name == "--null-ciphering") {
            if (hasValue) return Usage(name + " takes no value");
            options.nullCiphering = true;
        } else if (name == "-f" || name == "--file") {
            if (!takeValue()) return Usage(name + " needs a value");
            options.inputs.push_back({Input::Kind::kFile, value, 0});
        } else if (arg.size() > 1 && arg[1] != '-' && arg.size() > 2 && (arg[1] == 'd' || arg[1] == 'f' || arg[1] == 'r')) {
            // -dVALUE, -fVALUE, -rVALUE.
            const std::string rest = arg.substr(2);
            if (arg[1] == 'f') {
                options.inputs.push_back({Input::Kind::kFile, rest, 0});
            } else if (arg[1] == 'r') {
                options.inputs.push_back({Input::Kind::kCapture, rest, 0});
            } else if (auto direction = ParseDirection(rest)) {
                options.direction = *direction;
            } else {
                return Usage("unknown direction '" + Printable(rest) + "' (use 1, ul, uplink, 0, dl or downlink)");
            }
        } else {
            return Usage("unknown option " + Printable(arg));
        }
    }
    bool onlyCaptures = !options.inputs.empty();
    for (const Input& input : options.inputs) onlyCaptures = onlyCaptures && input.kind == Input::Kind::kCapture;
    if (options.format == Format::kRrc && !onlyCaptures) {
        return Usage("-T rrc lists the LTE RRC PDUs of captures: give them with -r, and nothing else");
    }
    if (options.format == Format::kLadder && !onlyCaptures) {
        return Usage("-T ladder draws the messages of captures: give them with -r, and nothing else");
    }
    if (!options.capture.ue.empty() && !onlyCaptures) {
        return Usage("--ue follows a UE through captures: give them with -r, and nothing else");
    }
    // One UE's messages are a ladder unless another format is asked for.
    if (!options.capture.ue.empty() && !formatGiven) options.format = Format::kLadder;
    return -1;
}


// `corvuna report ARGS` is `python3 -m corvuna report ARGS`: the report is
// the Python package's (it draws its plots with matplotlib).  The package is
// looked for where `cmake --install` puts it relative to the program, then,
// for a program run from its build tree, in the source tree, then where
// python3 looks by itself.  The report reads the captures with this very
// program (CORVUNA_PROGRAM_DIR).
#if defined(_WIN32)
int RunReport(int, char**) {
    std::fprintf(stderr, "corvuna report: not available in this build; run 'python -m corvuna report'\n");
    return 2;
}
#else
#ifndef CORVUNA_PYTHON_FROM_BINDIR
#define CORVUNA_PYTHON_FROM_BINDIR ""
#endif
#ifndef CORVUNA_BUILD_DIR
#define CORVUNA_BUILD_DIR ""
#endif
#ifndef CORVUNA_SOURCE_PYTHON_DIR
#define CORVUNA_SOURCE_PYTHON_DIR ""
#endif

bool IsFile(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ProgramDirectory(const char* argv0) {
    std::vector<char> path(4096);
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    std::string self = n > 0 ? std::string(path.data(), static_cast<size_t>(n)) : std::string(argv0);
    const size_t slash = self.rfind('/');
    return slash == std::string::npos ? std::string(".") : self.substr(0, slash == 0 ? 1 : slash);
}

std::string RealPath(const std::string& path) {
    char* real = realpath(path.c_str(), nullptr);
    if (real == nullptr) return path;
    std::string out(real);
    std::free(real);
    return out;
}

// Exit status of `program args` with its output thrown away; -1 when it
// could not be run.
int RunQuietly(const std::vector<std::string>& command) {
    std::vector<char*> args;
    for (const std::string& a : command) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int failed = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (failed != 0 || waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunReport(int argc, char** argv) {
    const char* chosen = std::getenv("CORVUNA_PYTHON");
    const std::string python = chosen != nullptr && *chosen != '\0' ? chosen : "/usr/bin/python3";
    if (access(python.c_str(), X_OK) != 0) {
        std::fprintf(stderr,
                     "corvuna report: %s is missing: the report runs on Debian's python3 with matplotlib "
                     "(apt-get install python3 python3-matplotlib)\n",
                     python.c_str());
        return 2;
    }
    const std::string here = ProgramDirectory(argv[0]);
    std::vector<std::string> places;
    if (*CORVUNA_PYTHON_FROM_BINDIR != '\0') places.push_back(here + "/" + CORVUNA_PYTHON_FROM_BINDIR);
    if (*CORVUNA_BUILD_DIR != '\0' && RealPath(here) == RealPath(CORVUNA_BUILD_DIR)) {
        places.push_back(CORVUNA_SOURCE_PYTHON_DIR);
    }
    std::string package;
    for (const std::string& place : places) {
        if (IsFile(place + "/corvuna/report.py")) {
            package = RealPath(place);
            break;
        }
    }
    if (package.empty() && RunQuietly({python, "-c", "import corvuna.report"}) != 0) {
        std::string looked;
        for (const std::string& place : places) looked += place + ", ";
        std::fprintf(stderr,
                     "corvuna report: the Python package corvuna (corvuna/report.py) is missing: looked in %s"
                     "and on %s's own path; install it (cmake --install, or pip install ./python)\n",
                     looked.c_str(), python.c_str());
        return 2;
    }
    if (!package.empty()) {
        const char* old = std::getenv("PYTHONPATH");
        const std::string path = old != nullptr && *old != '\0' ? package + ":" + old : package;
        setenv("PYTHONPATH", path.c_str(), 1);
    }
    setenv("CORVUNA_PROGRAM_DIR", here.c_str(), 1);
    std::vector<std::string> command = {python, "-m", "corvuna", "report"};
    for (int i = 2; i < argc; ++i) command.emplace_back(argv[i]);
    std::vector<char*> args;
    for (std::string& a : command) args.push_back(a.data());
    args.push_back(nullptr);
    execv(python.c_str(), args.data());
    std::fprintf(stderr, "corvuna report: cannot run %s: %s\n", python.c_str(), std::strerror(errno));
    return 2;
}
#endif

}  // namespace
}  // namespace corvuna::cli

int main(int argc, char** argv) {
    using namespace corvuna::cli;
    if (argc > 1 && std::string_view(argv[1]) == "report") return RunReport(argc, argv);
    Options options;
    if (const int status = ParseArguments(argc, argv, options); status >= 0) return status;
    if (options.inputs.empty()) options.inputs.push_back({Input::Kind::kFile, "-", 0});

    // A reader at a terminal or at the end of a pipe sees each capture
    // message as its frame arrives.
#if !defined(_WIN32)
    struct stat st {};
    options.flushEachFrame = isatty(STDOUT_FILENO) != 0 || (fstat(STDOUT_FILENO, &st) == 0 && S_ISFIFO(st.st_mode));
#endif
    size_t captures = 0;
    for (const Input& input : options.inputs) captures += input.kind == Input::Kind::kCapture;

    Output out(stdout);
    if (options.format == Format::kTsv) out.Write(TsvHeader(captures > 0, captures > 1));
    Decoder decoder(options, out);
    for (const Input& input : options.inputs) {
        bool go = true;
        if (input.kind == Input::Kind::kHex) {
            const bool ok = decoder.Run(options.direction, input.text, "argument " + std::to_string(input.argument));
            go = ok || !options.stopOnError;
        } else if (input.kind == Input::Kind::kCapture) {
            go = decoder.RunCaptureFile(input.text, captures > 1);
        } else {
            go = decoder.RunFile(input.text);
        }
        if (!go) break;
    }
    if (!out.Flush()) {
        std::fprintf(stderr, "corvuna: cannot write the documents: %s\n", std::strerror(errno));
        return 1;
    }
    return decoder.ExitStatus();
}
