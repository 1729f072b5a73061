// Makes permission bits count for a root test: while a PermissionBits object
// lives, the calling thread works without the capabilities that let root read
// and write past them (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH), so a file with
// mode 0200 cannot be read. They come back when it goes.
//
//   PermissionBits bits;
//   if (!bits.active())
//       QSKIP("permission bits cannot be made to count here");
#pragma once

#include <algorithm>
#include <iterator>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class PermissionBits {
  public:
    PermissionBits() {
        if (::geteuid() != 0 || !get(m_saved))
            return;
        __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3];
        std::copy(std::begin(m_saved), std::end(m_saved), std::begin(data));
        data[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_active = set(data);
    }
    ~PermissionBits() {
        if (m_active)
            set(m_saved);
    }
    PermissionBits(const PermissionBits &) = delete;
    PermissionBits &operator=(const PermissionBits &) = delete;

    bool active() const { return m_active; }

  private:
    static bool get(__user_cap_data_struct *data) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capget, &header, data) == 0;
    }
    static bool set(__user_cap_data_struct *data) {
        __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
        return ::syscall(SYS_capset, &header, data) == 0;
    }

    __user_cap_data_struct m_saved[_LINUX_CAPABILITY_U32S_3] = {};
    bool m_active = false;
};
