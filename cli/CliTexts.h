// Texts of the command-line tool alone: prompts, usage errors and help. Everything the window
// says as well comes from the message table instead.
#pragma once

namespace partsmith::cli::texts {

inline constexpr const char* kProgramName = "partsmith-cli";

inline constexpr const char* kPasswordPrompt = "Enter encryption password: ";
inline constexpr const char* kPasswordAgainPrompt = "Enter encryption password again: ";
inline constexpr const char* kPasswordNotEntered = "no password entered";
inline constexpr const char* kPasswordsDiffer = "the two passwords differ";
inline constexpr const char* kNoPasswordOnInput = "no password on standard input";
inline constexpr const char* kOverwriteAnswers = " [y/N] ";
inline constexpr const char* kMissingPart = "missing part: ";
inline constexpr const char* kNextPartPrompt = "Path of the next part (empty to stop): ";
inline constexpr const char* kUseForce = "not replaced; use --force to replace existing files";

inline constexpr const char* kMainHelp =
    R"TXT(Usage: partsmith-cli COMMAND [OPTIONS] ARGUMENTS

Cuts a file into numbered part files and joins such a set back, optionally
encrypted with a password; computes CRC-32 and MD5 checksums; compares files.

Commands:
  split FILE            cut FILE into a part set
  join PART             join the part set of PART back into one file
  checksum FILE...      print the CRC-32 or MD5 checksum of each FILE
  compare FILE1 FILE2   tell whether two files are equal

Run "partsmith-cli COMMAND --help" for the options of a command.

Options:
  -h, --help            show this text
  --version             show the program's version
)TXT";

inline constexpr const char* kSplitHelp =
    R"TXT(Usage: partsmith-cli split FILE [OPTIONS]

Cuts FILE into parts named NAME.001, NAME.002, ... (NAME.e01, NAME.e02, ...
when encrypted) in the output folder.

Options:
  --size SIZE           size of every part but the last: a number of bytes, or
                        a number with the unit B, K, M or G (1024-based), as
                        in 100M or 2G; 100M when neither --size nor --parts
  --parts N             cut into N parts of equal size instead (the last may
                        be smaller)
  --output-dir DIR      folder of the parts (default: the folder of FILE)
  --name NAME           base name of the parts (default: the name of FILE)
  --encrypt CIPHER      encrypt the set with CIPHER: a name of the cipher list
                        (any letter case; "Rijndael" or "AES" will do for
                        "Rijndael (AES)") or its code; see below
  --hash HASH           hash that keys the cipher from the password: a name of
                        the hash list or its code (default: MD5)
  --password-file FILE  read the password from the first line of FILE;
                        otherwise it is asked twice on the terminal, or read
                        from the first line of standard input when that is
                        not a terminal
  --delete-source       delete FILE after all parts were written
  --buffer-kib N        copy buffer in KiB (default 8192; 0 or less is 1 KiB,
                        more than 1 GiB is capped)
  --force               replace existing parts without asking
  --no-kernel-copy      copy a plain set through the buffer instead of letting
                        the kernel copy it (same bytes; for measurements)
  --quiet               no progress line and no report lines
  -h, --help            show this text
)TXT";

inline constexpr const char* kJoinHelp =
    R"TXT(Usage: partsmith-cli join PART [OPTIONS]

Joins the part set that PART belongs to, from PART on, into one file. An
encrypted set ("e" after the last dot, as in report.pdf.e01) is decrypted and
its checksum is tested against the one stored in its first part.

Options:
  --output FILE         the joined file (default: PART without its extension)
  --range FIRST-LAST    join parts FIRST to LAST (numbers of width 3) instead
                        of scanning for the parts that follow PART
  --password-file FILE  read the password from the first line of FILE (an
                        encrypted set only); otherwise it is asked on the terminal, or read from the
                        first line of standard input when that is not a
                        terminal
  --delete-parts        delete the parts after a join that ran through its last
                        part and whose checksum agrees
  --buffer-kib N        copy buffer in KiB (default 8192); an RC4 set must be
                        joined with the buffer it was split with
  --force               replace an existing output file without asking
  --no-kernel-copy      copy a plain set through the buffer instead of letting
                        the kernel copy it (same bytes; for measurements)
  --quiet               no progress line and no report lines
  -h, --help            show this text
)TXT";

inline constexpr const char* kChecksumHelp =
    R"TXT(Usage: partsmith-cli checksum [--crc32|--md5] FILE...

Prints one line "CHECKSUM  FILE" for each FILE, CRC-32 (the default) as 8 and
MD5 as 32 uppercase hexadecimal digits. A file that cannot be read is reported
on standard error; the others are still printed.

Options:
  --crc32               CRC-32 checksums (default)
  --md5                 MD5 digests
  -h, --help            show this text
)TXT";

inline constexpr const char* kCompareHelp =
    R"TXT(Usage: partsmith-cli compare FILE1 FILE2 [OPTIONS]

Tells whether two files are equal, by their CRC-32 checksums (default) or byte
by byte.

Options:
  --by-content          compare byte by byte and report the first difference
  --no-size-check       compare also when the sizes differ (by content, only as
                        many bytes as FILE1 holds are compared)
  -h, --help            show this text
)TXT";

inline constexpr const char* kExitCodesHelp = R"TXT(
Exit codes:
  0  success (compare: the files are equal)
  1  failure: a missing file, a file that cannot be read or written, a run
     the engine refused (compare: an empty file, which gives no verdict)
  2  usage error: unknown option, bad value, passwords that differ
  3  join: the checksum of the joined file differs from the set's
  4  compare: the files differ
  5  stopped: Ctrl-C, an existing file not replaced, a password prompt ended
)TXT";

} // namespace partsmith::cli::texts
