// The text of `zelbase-cli --help`.
#include "cli/cli_args.h"

namespace zel::cli {

std::string UsageText() {
  return R"(Usage: zelbase-cli [--data-dir DIR] [--demo] [--trace FILE] [--channel N]
                  [--range FIRST-LAST] COMMAND [FLAGS]

Runs one operation of ZELBase without a window, on the settings (ZELBase.ini),
channels and base files of the program folder. The settings are read, never
changed: --channel and --range hold for this run only.

Options:
  --data-dir DIR      program folder with ZELBase.ini and Base/, made when
                      missing (default: the folder of the executable, or
                      $XDG_DATA_HOME/ZELBase when that folder is not writable,
                      as for an installed program; the demo folder with --demo)
  --demo              use the built-in virtual device network; every COM port
                      maps to it. Without --data-dir the files live in
                      $XDG_DATA_HOME/ZELBase/demo (~/.local/share/ZELBase/demo);
                      a folder without ZELBase.ini gets the demo channels
  --trace FILE        write the protocol trace of the port into FILE
  --channel N         make channel N (1-16) the active one
  --range FIRST-LAST  product numbers to work on, e.g. 1-300
  --help              this text

Commands:
  read                 read the range from the device into the base file
      --with-accounting  read the sales accounting of the range as well
  write                write the range of the base file into the device (the
                       command is the answer to its question; --yes is accepted)
      --lock             block the cash register meanwhile (ЖРМ 1.5, 1.5в, 2.0)
  read-accounting      read the accounting counters of the range
  reset-accounting --yes  set the counters of the range to zero (--lock as above)
  clear --yes          empty the range in the base file (no device is contacted)
  export FILE          save the range as CSV, text or ZEL_Base
      --format csv|txt|zlb  the file type (default: the file's extension)
  import FILE          load a text file, or a ZEL_Base file (.zlb), into the
                       range; the report lines go to stdout
  tapes list           list the control-tape blocks (ЖРМ 3, 3+, 200)
  tapes read K         read the purchases of block K of the list; names and
                       prices come from the base file, or from a whole-base read
                       first when the settings ask for that before a tape
  tapes save-list FILE save the block list (--format csv|txt)
  tapes save K FILE    read block K and save its purchases (--format csv|txt)
  tapes clear --yes    erase the control tapes
  last-barcode         print the last barcode scanned at the device and where
                       it is in the range
      --watch            keep polling and print every new barcode until Ctrl-C
                         (or until the port has gone: status 1)
  channels             list the sixteen channels
  show                 print the range of the base file as text columns
  history              list the copies kept of the base file before each
                       change (Base/history), newest first, with how many
                       products differ from the file now
  restore COPY --yes   put a copy from the history list back in place of the
                       base file; the file as it is now is kept as a copy first
  diff COPY            print the products that differ between a copy and the
                       base file now (number, field, in the copy, now)

A question the window asks is answered by a flag here; without its flag the
command refuses. The messages of the operations are printed on stderr, with a
progress line when stderr is a terminal. Ctrl-C stops a running operation as
the window's "Стоп" button does.

Exit status:
  0  success
  1  device or file failure, or the operation was stopped; also a base file
     shorter than the range (its message names the file and how many
     records it holds; write then sends nothing)
  2  bad usage or validation: unknown command or option, wrong channel or
     range, invalid device number or type, a question without its flag,
     import lines rejected or beyond the range
)";
}

}  // namespace zel::cli
