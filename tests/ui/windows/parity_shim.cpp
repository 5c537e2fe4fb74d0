// LD_PRELOAD shim for Wine tests on pseudo-terminals.
//
// A pty cannot keep PARENB and forces CS8; the kernel applies the rest of the
// settings silently, but glibc's tcsetattr reads them back and reports EINVAL
// when the parity or size bits differ. Wine then fails SetCommState with error
// 87 and the program under test cannot open its port. On a pty slave, this shim
// accepts the call when the settings that did stick differ from the requested
// ones only in those bits; on anything else the real result stands.
#include <dlfcn.h>
#include <errno.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>

namespace {

using TcsetattrFn = int (*)(int, int, const struct termios*);

// Unix98 pty slaves (/dev/pts/N) use majors 136 to 143.
bool IsPtySlave(int fd) {
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned int devMajor = major(st.st_rdev);
    return devMajor >= 136 && devMajor <= 143;
}

bool DiffersOnlyInParityOrSize(const struct termios& wanted, const struct termios& got) {
    const tcflag_t ignored = PARENB | PARODD | CMSPAR | CSIZE;
    return wanted.c_iflag == got.c_iflag && wanted.c_oflag == got.c_oflag &&
           wanted.c_lflag == got.c_lflag &&
           (wanted.c_cflag & ~ignored) == (got.c_cflag & ~ignored) &&
           memcmp(wanted.c_cc, got.c_cc, sizeof wanted.c_cc) == 0;
}

}  // namespace

extern "C" int tcsetattr(int fd, int actions, const struct termios* wanted) {
    static const auto real = reinterpret_cast<TcsetattrFn>(dlsym(RTLD_NEXT, "tcsetattr"));
    if (real == nullptr) {
        errno = ENOSYS;
        return -1;
    }
    const int result = real(fd, actions, wanted);
    if (result == 0 || errno != EINVAL || wanted == nullptr || !IsPtySlave(fd)) return result;

    const int savedErrno = errno;
    struct termios got {};
    if (tcgetattr(fd, &got) == 0 && DiffersOnlyInParityOrSize(*wanted, got)) return 0;
    errno = savedErrno;
    return result;
}
