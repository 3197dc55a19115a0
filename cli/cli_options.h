#pragma once
// The commands of varnex-cli and their options, declared once (cli_options.cpp): each option with
// its help, whether it takes a value and the commands it belongs to. From that table come the
// parser of a command line and every help text. Nothing here prints, reads a file or runs a command.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace varnex {

/// The commands of varnex-cli.
enum class CliCommand { Sheets, Template, Sample, Export };

/// What a command line asks for.
struct CommandLine {
    /// The command; none with `help` for the main help (`varnex-cli --help`).
    std::optional<CliCommand> command;
    bool help = false;  ///< --help or -h: the help of the command is asked for instead
    std::vector<std::string> positional;
    std::map<std::string, std::string> values;  ///< option -> its value, the last one given
    std::set<std::string> flags;                ///< the options without a value that were given
    /// Every option with a value as given, in command-line order (an option given again is there
    /// again), for the options that may be repeated.
    std::vector<std::pair<std::string, std::string>> given;
};

/// Why a command line is refused.
enum class CommandLineFault {
    NoCommand,               ///< nothing after the program's name
    UnknownCommand,          ///< the first argument names no command
    UnknownOption,           ///< no command has that option
    OptionOfAnotherCommand,  ///< an option of other commands only
    MissingValue,            ///< an option that takes a value ends the command line
};

/// A refused command line: why, and what to print on standard error (whole lines).
struct CommandLineError {
    CommandLineFault fault;
    std::string message;
};

/// Reads a command line (argv[0] is the program): the command, then its positional arguments and
/// options in any order. An option that takes a value takes the next argument, whatever it is; a
/// lone "-" is a positional argument. The first argument that cannot be taken refuses the whole line.
std::variant<CommandLine, CommandLineError> parseCommandLine(int argc, const char* const* argv);

/// The command's name on the command line ("sheets").
const char* commandName(CliCommand command);

/// `varnex-cli --help`: a line for each command.
std::string mainHelp();

/// `varnex-cli <command> --help`: its usage, then each of its options with its help.
std::string commandHelp(CliCommand command);

}  // namespace varnex
