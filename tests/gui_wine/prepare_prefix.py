"""Makes the ready Wine prefix that every Wine test copies (CTest fixture)."""
import sys
import time

import winelab

if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit("usage: prepare_prefix.py PREFIX_DIR")
    start = time.monotonic()
    made = winelab.make_template(sys.argv[1])
    print("%s %s in %.1f s" % ("made" if made else "reused", sys.argv[1], time.monotonic() - start))
