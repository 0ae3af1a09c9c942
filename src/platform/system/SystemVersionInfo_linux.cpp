#include "platform/system/SystemVersionInfo.h"

#include "platform/system/SystemError.h"
#include "platform/system/SystemNative_linux.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <gelf.h>
#include <libelf.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct ElfHandle
{
    Elf *elf = nullptr;
    int fd = -1;
    ~ElfHandle()
    {
        if (elf)
            elf_end(elf);
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

QByteArray ReadElfSection(const QString &path, const char *sectionName, qint64 maxSize)
{
    QByteArray native;
    if (!systemnative::EncodePath(path, native) || !sectionName)
        return QByteArray();
    if (elf_version(EV_CURRENT) == EV_NONE)
        return QByteArray();

    ElfHandle handle;
    handle.fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (handle.fd < 0) {
        SetLastSystemError(errno);
        return QByteArray();
    }
    struct stat info {};
    if (::fstat(handle.fd, &info) != 0 || !S_ISREG(info.st_mode))
        return QByteArray();
    // ELF_C_READ reads the file into memory rather than mapping it, so a file that
    // shrinks while it is read cannot fault the process.
    handle.elf = elf_begin(handle.fd, ELF_C_READ, nullptr);
    if (!handle.elf || elf_kind(handle.elf) != ELF_K_ELF)
        return QByteArray();
    size_t namesIndex = 0;
    if (elf_getshdrstrndx(handle.elf, &namesIndex) != 0)
        return QByteArray();
    Elf_Scn *section = nullptr;
    while ((section = elf_nextscn(handle.elf, section)) != nullptr) {
        GElf_Shdr header;
        if (!gelf_getshdr(section, &header))
            continue;
        const char *name = elf_strptr(handle.elf, namesIndex, header.sh_name);
        if (!name || std::strcmp(name, sectionName) != 0)
            continue;
        if (header.sh_type == SHT_NOBITS || qint64(header.sh_size) > maxSize)
            return QByteArray();
        Elf_Data *data = elf_getdata(section, nullptr);
        if (!data || !data->d_buf)
            return QByteArray();
        return QByteArray(static_cast<const char *>(data->d_buf), qsizetype(data->d_size));
    }
    return QByteArray();
}
