// The client panel's address prompt, without its windows: what the prompt
// says and what becomes of the answer. Portable: no Win32 here.
#pragma once

#include <string>
#include <string_view>

namespace qv::remote {

inline constexpr std::string_view kPromptTitle = "Connecting to Remote module";
inline constexpr std::string_view kParametersTitle = "Quorvex - Remote Parameters";
inline constexpr std::string_view kParameterIncorrect = "Remote parameter incorrect !";

// "Insert remote <IP Address>:<port>", CR LF, LF, "(Example:  10.0.0.4:" and
// the Port setting, ")".
std::string RemotePromptText(std::string_view portSetting);

// What the prompt does with one answer.
struct RemoteAnswer {
  enum class Kind {
    kCancelled,       // blank answer or Cancel: the user gave up
    kIncorrect,       // no address or no port: "Remote parameter incorrect !", ask again
    kAskAgain,        // a port of 1 or less, 65535 or more: ask again silently
    kAccepted,        // a dotted IPv4 or an IPv6 address and a port
    kConfirmAddress,  // anything else as address: ask whether to go on with it
  };
  Kind kind = Kind::kCancelled;
  std::string address;  // trimmed text before the first ":"
  std::string port;     // the port's integer part as decimal text
};
RemoteAnswer ParseRemoteAnswer(std::string_view answer);

}  // namespace qv::remote
