// The version check's request and the judgement of the version server's reply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace net {

// The version server listens on this TCP port; the request is these 6 bytes, no terminator.
constexpr uint16_t kVersionServerPort = 2048;
constexpr std::string_view kVersionRequest = "getver";
// Receive buffer size asked for (SO_RCVBUF) and the most reply bytes that are read.
constexpr int kVersionReceiveBufferSize = 512;
constexpr size_t kVersionReplyLimit = 255;

struct VersionVerdict {
    bool offerDownload = false;  // ask the question below; on Yes open the download page
    std::string question;        // the Yes/No question, empty when nothing is offered
};

// The version text of the first received segment: at most 255 bytes, up to its first zero byte.
std::string VersionReplyText(const void* data, size_t size);

// The version a reply's text names: the text without the spaces and line ends around it, when that
// is a plain version token (1 to 16 letters, digits, '.', '-' or '_', the first a letter or digit);
// otherwise "" (control bytes, words, anything longer name no version).
constexpr size_t kVersionTokenLimit = 16;
std::string VersionToken(std::string_view text);

// Judges the first received segment against the program's own product version (empty when it
// cannot be read). The download is offered whenever the segment names a version (VersionToken)
// that differs from the own one ignoring letter case; an older version offers too. A segment that
// names none offers nothing: the question shows whatever the server sent, at every start.
// The question is "Version %s of Vexar! is now available,\nwould you like to download it now?" with
// the version token in place of %s.
VersionVerdict JudgeVersionReply(const void* data, size_t size, std::string_view ownVersion);

}  // namespace net
