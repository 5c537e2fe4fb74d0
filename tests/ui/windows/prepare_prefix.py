"""Makes the ready Wine prefix that every Wine test copies, and clears the logs
of the previous run (CTest fixture; paths from the environment, see winelab)."""
import shutil
import sys
import time

import winelab

if __name__ == "__main__":
    if not winelab.TEMPLATE or not winelab.WORK_ROOT:
        sys.exit("MARLOX_WINE_TEMPLATE and MARLOX_WINE_WORK must name the prefix and the logs' folder")
    start = time.monotonic()
    shutil.rmtree(winelab.WORK_ROOT, ignore_errors=True)
    made = winelab.make_template(winelab.TEMPLATE)
    print("%s %s in %.1f s" % ("made" if made else "reused", winelab.TEMPLATE,
                               time.monotonic() - start))
