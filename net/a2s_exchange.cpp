// The Source query requests and the per-server exchange: challenge, split replies, next request.
#include "net/a2s_exchange.h"

#include <cstring>

#include "base/byte_reader.h"
#include "net/a2s_reply.h"

namespace net {

namespace {

constexpr char kInfoQuery[] = "Source Engine Query";  // sent with its terminating zero
constexpr uint8_t kInfoRequest = 0x54;
constexpr uint8_t kPlayerRequest = 0x55;
constexpr uint8_t kRulesRequest = 0x56;
constexpr size_t kChallengeReplySize = 9;
constexpr uint8_t kGoldSrcProtocol = 48;  // what Half-Life servers on Steam send in the Source form

A2sRequest Header(uint8_t type) {
    A2sRequest r;
    std::memset(r.bytes, 0xFF, 4);
    r.bytes[4] = type;
    r.size = 5;
    return r;
}

void Append(A2sRequest& r, uint32_t challenge) {
    base::StoreU32LE(r.bytes + r.size, challenge);
    r.size += 4;
}

}  // namespace

A2sRequest BuildA2sInfoRequest(std::optional<uint32_t> challenge) {
    A2sRequest r = Header(kInfoRequest);
    std::memcpy(r.bytes + r.size, kInfoQuery, sizeof kInfoQuery);
    r.size += sizeof kInfoQuery;
    if (challenge)
        Append(r, *challenge);
    return r;
}

A2sRequest BuildA2sPlayerRequest(uint32_t challenge) {
    A2sRequest r = Header(kPlayerRequest);
    Append(r, challenge);
    return r;
}

A2sRequest BuildA2sRulesRequest(uint32_t challenge) {
    A2sRequest r = Header(kRulesRequest);
    Append(r, challenge);
    return r;
}

A2sRequest A2sExchange::Start() {
    stage_ = Stage::kInfo;
    challenge_.reset();
    challengeRounds_ = 0;
    split_.SetForm(form_);
    return BuildA2sInfoRequest(std::nullopt);
}

A2sRequest A2sExchange::RequestFor(Stage stage) const {
    switch (stage) {
        case Stage::kInfo:
            return BuildA2sInfoRequest(challenge_);
        case Stage::kPlayers:
            return BuildA2sPlayerRequest(challenge_.value_or(kNoChallenge));
        default:
            return BuildA2sRulesRequest(challenge_.value_or(kNoChallenge));
    }
}

void A2sExchange::Advance(A2sStep& step) {
    challengeRounds_ = 0;
    if (stage_ == Stage::kInfo && wants_.players)
        stage_ = Stage::kPlayers;
    else if (stage_ != Stage::kRules && wants_.rules)
        stage_ = Stage::kRules;
    else
        stage_ = Stage::kDone;
    if (stage_ == Stage::kDone)
        step.complete = true;
    else
        step.send = RequestFor(stage_);
}

A2sStep A2sExchange::Take(const uint8_t* data, size_t size) {
    A2sStep step;
    if (stage_ == Stage::kDone || !data)
        return step;
    switch (split_.Take(data, size)) {
        case SplitOutcome::kNotSplit:
            break;
        case SplitOutcome::kComplete:
            data = split_.Assembled().data();
            size = split_.Assembled().size();
            break;
        case SplitOutcome::kCompressed:
            compressedRefused_ = true;
            return step;
        default:
            return step;
    }
    const uint8_t type = A2sReplyTypeOf(data, size);
    if (type == kA2sChallengeReply) {
        if (size < kChallengeReplySize || challengeRounds_ >= kMaxChallengeRounds)
            return step;
        ++challengeRounds_;
        challenge_ = base::LoadU32LE(data + 5);
        step.send = RequestFor(stage_);
        step.sendStartsPing = stage_ == Stage::kInfo;
        return step;
    }
    bool answers = false;
    switch (stage_) {
        case Stage::kInfo: {
            const std::optional<A2sInfo> info = ParseA2sInfo(data, size);
            answers = info.has_value();
            if (info && (info->goldSrcForm || info->protocol == kGoldSrcProtocol))
                split_.SetForm(A2sSplitForm::kGoldSrc);
            break;
        }
        case Stage::kPlayers:
            answers = ParseA2sPlayers(data, size).has_value();
            break;
        default:
            answers = ParseA2sRules(data, size).has_value();
            break;
    }
    if (!answers)
        return step;
    step.reply = data;
    step.replySize = size;
    step.replyType = type;
    step.answersInfo = stage_ == Stage::kInfo;
    Advance(step);
    return step;
}

}  // namespace net
