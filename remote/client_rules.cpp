#include "remote/client_rules.h"

#include "platform/text.h"
#include "startup/address.h"

namespace qv::remote {

std::string RemotePromptText(std::string_view portSetting) {
  std::string s("Insert remote <IP Address>:<port>\r\n\n(Example:  10.0.0.4:");
  s += portSetting;
  s += ')';
  return s;
}

RemoteAnswer ParseRemoteAnswer(std::string_view answer) {
  RemoteAnswer r;
  const std::string trimmed = TrimSpaces(answer);
  if (trimmed.empty()) return r;
  const size_t colon = trimmed.find(':');
  r.address = TrimSpaces(std::string_view(trimmed).substr(0, colon));
  r.port = colon == std::string::npos ? std::string()
                                      : TrimSpaces(std::string_view(trimmed).substr(colon + 1));
  if (r.address.empty() || r.port.empty()) {
    r.kind = RemoteAnswer::Kind::kIncorrect;
    return r;
  }
  const double port = LeadingNumber(r.port);
  if (port >= 65535 || port <= 1) {
    r.kind = RemoteAnswer::Kind::kAskAgain;
    return r;
  }
  r.port = DecimalText(FloorInt(port));
  r.kind = IsValidAddress(r.address) ? RemoteAnswer::Kind::kAccepted
                                     : RemoteAnswer::Kind::kConfirmAddress;
  return r;
}

}  // namespace qv::remote
