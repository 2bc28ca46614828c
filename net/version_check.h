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

// Judges the first received segment against the program's own product version (empty when it
// cannot be read). The download is offered whenever the two texts differ ignoring letter case; an
// older version offers too. A segment that carries no text offers nothing (the server said nothing).
// The question is "Version %s of Vexar! is now available,\nwould you like to download it now?" with
// the received text, line ends included, in place of %s.
VersionVerdict JudgeVersionReply(const void* data, size_t size, std::string_view ownVersion);

}  // namespace net
