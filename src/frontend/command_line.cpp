#include "command_line.h"

#include <algorithm>
#include <cstring>

#include "display.h"

namespace {
// Stores an option's value; returns what is wrong with it, or nothing.
using Apply = std::string (*)(CommandLineOptions& options, const char* value);

// A whole number from low to high written in plain digits.
bool ReadWholeNumber(const char* text, int low, int high, int& number) {
  const size_t length = strlen(text);
  if (length > 9 || strspn(text, "0123456789") != length) return false;
  number = atoi(text);
  return number >= low && number <= high;
}

struct Option {
  const char* name;
  const char* valueName;  // nullptr: the option takes no value
  const char* help;
  Apply apply;                 // nullptr: show the usage
  bool valueOptional = false;  // the value may be left out (apply then gets "")
};

constexpr int kLowestPort = 1, kHighestPort = 65535;
constexpr size_t kLongestHostName = 253;

bool ReadPort(const char* text, int& port) {
  return ReadWholeNumber(text, kLowestPort, kHighestPort, port);
}

// A host name or IPv4 address: letters, digits, dots, hyphens and underscores.
bool ReadHostName(const std::string& text) {
  return !text.empty() && text.size() <= kLongestHostName &&
         strspn(text.c_str(),
                "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-_") == text.size();
}

constexpr Option kOptions[] = {
    {"--scale", "N", "window of N times 640 x 400, N = 1..8 (default: the largest that fits)",
     [](CommandLineOptions& options, const char* value) -> std::string {
       if (ReadWholeNumber(value, 1, kMaxWindowScale, options.windowScale)) return {};
       return "--scale wants a whole number from 1 to " + std::to_string(kMaxWindowScale) +
              ", not \"" + value + "\"";
     }},
    {"--fullscreen", nullptr, "start in full screen at the desktop's own resolution",
     [](CommandLineOptions& options, const char*) -> std::string {
       options.fullscreen = true;
       return {};
     }},
    {"--replay", "FILE", "show the match a replay file holds (data/replays/*.plx)",
     [](CommandLineOptions& options, const char* value) -> std::string {
       if (!*value) return "--replay wants a file name";
       options.replayFile = value;
       return {};
     }},
    {"--host", "PORT", "wait for an opponent online, on UDP port PORT (default 7457)",
     [](CommandLineOptions& options, const char* value) -> std::string {
       options.host = true;
       if (!*value || ReadPort(value, options.port)) return {};
       return std::string("--host wants a port from 1 to 65535, not \"") + value + "\"";
     },
     true},
    {"--join", "HOST[:PORT]", "play online against the host that waits at HOST",
     [](CommandLineOptions& options, const char* value) -> std::string {
       const std::string text = value;
       const size_t colon = text.find(':');
       options.joinHost = text.substr(0, colon);
       if (ReadHostName(options.joinHost) &&
           (colon == std::string::npos || ReadPort(text.c_str() + colon + 1, options.port)))
         return {};
       return "--join wants HOST or HOST:PORT (a port from 1 to 65535), not \"" + text + "\"";
     }},
    {"--help", nullptr, "show this help and leave", nullptr},
};

const Option* FindOption(const std::string& name) {
  for (const Option& option : kOptions)
    if (name == option.name) return &option;
  return nullptr;
}

CommandLine Failure(std::string error) {
  CommandLine result;
  result.action = CommandLineAction::kError;
  result.error = std::move(error);
  return result;
}
}  // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv) {
  CommandLine result;
  for (int i = 1; i < argc; ++i) {
    std::string name = argv[i];
    const char* value = nullptr;
    std::string inlineValue;
    if (const size_t equals = name.find('=');
        name.rfind("--", 0) == 0 && equals != std::string::npos) {
      inlineValue = name.substr(equals + 1);  // --scale=3
      name.resize(equals);
      value = inlineValue.c_str();
    }
    const Option* option = FindOption(name == "-h" ? "--help" : name);
    if (!option)
      return Failure(name[0] == '-' ? "unknown option \"" + name + "\""
                                    : "unexpected argument \"" + name + "\"");
    if (option->valueName && !value) {
      const bool given = i + 1 < argc && argv[i + 1][0] != '-';
      if (option->valueOptional && !given) {
        value = "";
      } else {
        if (i + 1 >= argc) return Failure(name + " wants a value " + option->valueName);
        value = argv[++i];
      }
    } else if (!option->valueName && value) {
      return Failure(name + " takes no value");
    }
    if (!option->apply) {
      result.action = CommandLineAction::kHelp;
      return result;
    }
    if (std::string error = option->apply(result.options, value); !error.empty())
      return Failure(std::move(error));
  }
  const CommandLineOptions& o = result.options;
  if (o.host + !o.joinHost.empty() + !o.replayFile.empty() > 1)
    return Failure("--replay, --host and --join exclude each other");
  return result;
}

std::string CommandLineUsage() {
  std::string usage = "usage: plonkix";
  for (const Option& option : kOptions)
    usage += std::string(" [") + option.name +
             (!option.valueName      ? ""
              : option.valueOptional ? std::string(" [") + option.valueName + "]"
                                     : std::string(" ") + option.valueName) +
             "]";
  usage += "\n";
  for (const Option& option : kOptions) {
    std::string left = std::string("  ") + option.name;
    if (option.valueName)
      left += option.valueOptional ? std::string(" [") + option.valueName + "]"
                                   : std::string(" ") + option.valueName;
    left.resize(std::max<size_t>(left.size() + 1, 18), ' ');
    usage += left + option.help + "\n";
  }
  usage += "Alt+Enter switches between the window and full screen.\n";
  return usage;
}
