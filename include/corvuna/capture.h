/* SPDX-License-Identifier: Apache-2.0 */
/*
 * libcorvuna-capture: the NAS messages of pcap and pcapng captures, one by
 * one, with what is known of each.
 *
 * A reader opens a capture file, standard input or a descriptor (a pipe, a
 * socket; gzip-compressed captures too), and gives every EPS NAS (TS 24.301)
 * and 5GS NAS (TS 24.501) message it finds, in S1AP, NGAP, GSMTAP, raw NAS,
 * exported PDUs or on the radio side (MAC-LTE, RLC-LTE, LTE RRC), with
 *   - where it was: frame, time, carrier, procedure and the UE's ids;
 *   - its direction and security facts: the security header, the check of
 *     its MAC and what became of a ciphered body, with the UE's keys (a
 *     keys file, or the KASMEs of the capture's S6a answers);
 *   - its flat facts: message name, cause, IMSI, GUTI or 5G-GUTI, TMSI,
 *     PLMN, TAC, the view's result;
 *   - its octets, and the standard view as JSON (the record of the
 *     program's -T json) and as a text tree.
 *
 * There is no global state: readers are independent, and each may be used
 * by one thread at a time.  No function lets an exception or a fault out;
 * errors are codes, with a message naming the input.
 */
#ifndef CORVUNA_CAPTURE_H
#define CORVUNA_CAPTURE_H

#include <stddef.h>
#include <stdint.h>

#if defined(CORVUNA_BUILDING_CAPTURE_LIBRARY) && !defined(_WIN32)
#define CORVUNA_CAPTURE_API __attribute__((visibility("default")))
#else
#define CORVUNA_CAPTURE_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Results. */
#define CORVUNA_CAPTURE_END 0      /* corvuna_capture_next: no more messages */
#define CORVUNA_CAPTURE_MESSAGE 1  /* corvuna_capture_next: a message */
#define CORVUNA_CAPTURE_OK 0
#define CORVUNA_CAPTURE_ERR_ARGUMENT (-1) /* a null pointer, or an option out of range */
#define CORVUNA_CAPTURE_ERR_OPEN (-2)     /* the file cannot be opened or read */
#define CORVUNA_CAPTURE_ERR_FORMAT (-3)   /* no pcap or pcapng capture, or of a link type that is not read */
#define CORVUNA_CAPTURE_ERR_READ (-4)     /* the capture is cut or unreadable part-way (the messages before were given) */
#define CORVUNA_CAPTURE_ERR_KEYS (-5)     /* the keys cannot be read */
#define CORVUNA_CAPTURE_ERR_NO_ROOM (-6)  /* corvuna_capture_next_batch: the buffer cannot hold one message */
#define CORVUNA_CAPTURE_ERR_INTERNAL (-7)

/* What each message carries beside its facts (options.include). */
#define CORVUNA_CAPTURE_JSON 1u /* the record as JSON: the program's -T json line */
#define CORVUNA_CAPTURE_TEXT 2u /* the standard view as a text tree */
#define CORVUNA_CAPTURE_COMMENT 4u /* the words of the program's comment line */

/* message.nas */
#define CORVUNA_CAPTURE_EPS 0         /* EPS NAS */
#define CORVUNA_CAPTURE_5GS 1         /* 5GS NAS */
#define CORVUNA_CAPTURE_AS_CIPHERED 2 /* an LTE RRC PDU that is AS-ciphered: its NAS is not read */

typedef struct corvuna_capture_options {
    size_t size;           /* sizeof(corvuna_capture_options); set by corvuna_capture_options_init */
    int direction;         /* 1 uplink (the default) or 0 downlink: raw NAS whose direction nothing gives */
    int null_ciphering;    /* non-zero: ciphered bodies are read as EEA0 */
    const char *keys_file; /* subscriber keys, as the program's --keys reads them, or NULL */
    const char *keys_text; /* the same as text, or NULL */
    int no_capture_keys;   /* non-zero: the KASMEs of the capture's S6a answers are left unused */
    int show_keys;         /* non-zero: the keys used appear in the facts and the JSON */
    unsigned int include;  /* CORVUNA_CAPTURE_JSON, _TEXT, _COMMENT (default: JSON and COMMENT) */
    /* What user link types 147 to 162 carry: "nas", "s1ap", "mac-lte-framed"
     * or "udp"; NULL: the default. */
    const char *user_dlt[16];
    /* Problems met ("frame 12: IPv4 fragment: ..."), as they are met; NULL:
     * counted only (see corvuna_capture_summary). */
    void (*warning)(void *context, const char *text);
    void *warning_context;
    /* The frames whose messages are given: first_frame (1: the first) to
     * last_frame (0: the last).  The frames before are still read and their
     * messages followed (security contexts, RLC), so that a capture read in
     * ranges, by several readers, gives what reading it whole gives. */
    uint64_t first_frame;
    uint64_t last_frame;
} corvuna_capture_options;

/* Strings are NUL-terminated, "" when absent; numbers -1 when absent.  All
 * stay valid until the next call on the reader. */
typedef struct corvuna_capture_message {
    const char *file;     /* the capture, as it was named when opened */
    uint64_t frame;       /* 1 for the first, as tshark counts */
    int64_t seconds;      /* the frame's time: seconds since 1970-01-01 UTC */
    uint32_t nanoseconds; /* and nanoseconds */
    const char *time;     /* "2019-06-09T12:52:52.575303Z", to the capture's precision */
    const char *carrier;  /* "s1ap", "ngap", "gsmtap", "nas", "exported_pdu", "lte_rrc" */
    const char *procedure; /* S1AP or NGAP: "initialUEMessage" */
    int procedure_code;
    int64_t enb_ue_s1ap_id, mme_ue_s1ap_id, ran_ue_ngap_id, amf_ue_ngap_id;
    const char *s_tmsi, *tai, *ecgi; /* as S1AP carries them: "01c0000001", "00f110-0001" */
    const char *ue;       /* the UE as the security tracker knows it: "imsi-001010123456789", "ue3" */
    int direction;        /* 1 uplink, 0 downlink */
    const char *direction_source; /* "" (carried), "mac", "message_type" or "option" */
    int nas;              /* CORVUNA_CAPTURE_EPS, _5GS or _AS_CIPHERED */
    int security_header;  /* the security header type; -1 for ESM and 5GSM messages */
    const char *mac;      /* "verified", "failed", "unverifiable" or "" (no MAC) */
    const char *body;     /* "clear", "deciphered", "null_ciphering", "guessed_null", "left_ciphered" */
    int eea, eia;         /* the algorithms of the UE's context */
    int64_t count;        /* the NAS COUNT used */
    const unsigned char *octets; /* the message as carried */
    size_t length;
    int result;           /* the standard view's: CORVUNA_VIEW_DECODED (0) to CORVUNA_VIEW_CIPHERED (4) */
    size_t errors;        /* errors the view met */
    const char *message;  /* "attach_request" (the inner message of a protected one when it was read) */
    int cause;            /* the first EMM, ESM, 5GMM or 5GSM cause, and its text */
    const char *cause_text;
    const char *imsi;     /* of an IMSI, or of a SUCI of the null scheme */
    const char *guti;     /* "310-410-ff58-06-c09d2b22"; 5G-GUTI "001-01-ca-3f8-00-c0000001" */
    const char *tmsi;     /* the M-TMSI, 5G-TMSI or TMSI, hex */
    const char *plmn;     /* "001-01": where the UE is, as the TAI S1AP carried with this message or
                             an earlier one of its UE association gives it; else of the message's
                             TAI or GUTI */
    int64_t tac;
    const char *json;     /* CORVUNA_CAPTURE_JSON: the record; else NULL */
    size_t json_length;
    const char *text;     /* CORVUNA_CAPTURE_TEXT: the view's tree; else NULL */
    size_t text_length;
    const char *comment;  /* CORVUNA_CAPTURE_COMMENT: the words of the program's comment line */
} corvuna_capture_message;

typedef struct corvuna_capture corvuna_capture;

/* The default options. */
CORVUNA_CAPTURE_API void corvuna_capture_options_init(corvuna_capture_options *options);

/*
 * Opens the capture at `path` ("-": standard input) or reads the descriptor
 * `fd` (the reader takes a duplicate; `name` names it in messages).  On
 * success *reader is set and CORVUNA_CAPTURE_OK returned; otherwise *reader
 * is NULL and `error` (when not NULL) holds the reason, naming the input
 * ("capture.pcap: not a pcap or pcapng capture"), cut to error_size.
 * `options` may be NULL (the defaults).
 */
CORVUNA_CAPTURE_API int corvuna_capture_open(const char *path, const corvuna_capture_options *options,
                                             corvuna_capture **reader, char *error, size_t error_size);
CORVUNA_CAPTURE_API int corvuna_capture_open_fd(int fd, const char *name, const corvuna_capture_options *options,
                                                corvuna_capture **reader, char *error, size_t error_size);

/*
 * The next message: CORVUNA_CAPTURE_MESSAGE with *message set,
 * CORVUNA_CAPTURE_END at the end, or a negative error (the reason in
 * corvuna_capture_error).  The message stays valid until the next call.
 */
CORVUNA_CAPTURE_API int corvuna_capture_next(corvuna_capture *reader, const corvuna_capture_message **message);

/*
 * Many messages at once, for hosts where a call costs (Python): up to
 * `max_messages` records written into `buffer` column by column: each
 * column (corvuna_capture_columns) holds the field of every record, each
 * field followed by 0x1F, and ends with 0x1E; absent fields are empty.
 * A host splits only the columns it looks at.
 * The fields are the message's facts as corvuna_capture_message has them
 * (direction "uplink"/"downlink", nas "eps"/"5gs"/"as_ciphered", result by
 * its name: "decoded", ...), then "view": the standard view as JSON
 * (CORVUNA_CAPTURE_JSON), "text": its tree (CORVUNA_CAPTURE_TEXT), and
 * "input": what corvuna_capture_render needs to write the record, the view
 * or its tree later, for the records a host looks at.
 * Returns the number of records (0 at the end), *used the octets written; or
 * a negative error (an error met after some records is returned by the next
 * call).  A record that does not fit is kept for the next call;
 * when not even one fits, CORVUNA_CAPTURE_ERR_NO_ROOM with *used the room it
 * needs.
 */
CORVUNA_CAPTURE_API int corvuna_capture_next_batch(corvuna_capture *reader, char *buffer, size_t capacity,
                                                   size_t *used, int max_messages);

/* The names of the batch records' fields, separated by 0x1F. */
CORVUNA_CAPTURE_API const char *corvuna_capture_columns(void);

#define CORVUNA_CAPTURE_RECORD 0    /* corvuna_capture_render: the record as JSON (the program's -T json) */
#define CORVUNA_CAPTURE_VIEW_JSON 1 /* the standard view as JSON */
#define CORVUNA_CAPTURE_VIEW_TEXT 2 /* the standard view as a text tree */

/*
 * Writes the record, view or text tree of a batch record's "input" field
 * (`length` octets at `input`) into `output` (NUL-terminated, never past
 * `capacity`).  Returns the view's result (CORVUNA_VIEW_DECODED (0) to
 * CORVUNA_VIEW_CIPHERED (4)), CORVUNA_CAPTURE_ERR_ARGUMENT for an input that
 * is none, or CORVUNA_CAPTURE_ERR_NO_ROOM; *needed (when not NULL) gets the
 * room, NUL included, the output takes.  Thread-safe; needs no reader.
 */
CORVUNA_CAPTURE_API int corvuna_capture_render(const char *input, size_t length, int what, char *output,
                                               size_t capacity, size_t *needed);

/*
 * The number of frames of the capture at `path`, read without decoding them
 * (to split a large capture into frame ranges).  CORVUNA_CAPTURE_OK or an
 * error, with its reason in `error` as corvuna_capture_open gives it.
 */
CORVUNA_CAPTURE_API int corvuna_capture_count_frames(const char *path, uint64_t *frames, char *error,
                                                     size_t error_size);

/* The reason of the last error ("" when none), naming the input. */
CORVUNA_CAPTURE_API const char *corvuna_capture_error(const corvuna_capture *reader);

/* What was read so far: "106 frames, 20 NAS messages: ..." */
CORVUNA_CAPTURE_API const char *corvuna_capture_summary(corvuna_capture *reader);

/* Closes the reader (NULL is allowed). */
CORVUNA_CAPTURE_API void corvuna_capture_close(corvuna_capture *reader);

#ifdef __cplusplus
}
#endif

#endif /* CORVUNA_CAPTURE_H */
