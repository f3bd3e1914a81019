// The POSIX half of files/platform.h (Linux first: unnamed temporary files).
#include "files/platform.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <random>
#include <utility>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files::platform {

namespace {

constexpr char16_t kEscapeBase = 0xDC00;

// The length of the valid UTF-8 sequence at data[0], or 0 when there is none:
// no overlong forms, no encoded surrogates, nothing past U+10FFFF.
int validSequence(const unsigned char* data, qsizetype left)
{
    const unsigned char lead = data[0];
    if (lead < 0x80)
        return 1;
    int length = 0;
    char32_t minimum = 0;
    char32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        minimum = 0x80;
        code = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        minimum = 0x800;
        code = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        minimum = 0x10000;
        code = lead & 0x07;
    } else {
        return 0;
    }
    if (left < length)
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((data[i] & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (data[i] & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

QByteArray bytesOf(const QString& path)
{
    return encodeName(path);
}

Status statusFrom(const struct stat& st)
{
    Status status;
    if (S_ISREG(st.st_mode))
        status.kind = Kind::File;
    else if (S_ISDIR(st.st_mode))
        status.kind = Kind::Folder;
    else if (S_ISLNK(st.st_mode))
        status.kind = Kind::Link;
    else if (S_ISFIFO(st.st_mode))
        status.kind = Kind::Pipe;
    else if (S_ISSOCK(st.st_mode))
        status.kind = Kind::Socket;
    else if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode))
        status.kind = Kind::Device;
    else
        status.kind = Kind::Other;
    status.device = st.st_dev;
    status.inode = st.st_ino;
    status.owner = st.st_uid;
    status.size = st.st_size;
    status.sticky = (st.st_mode & S_ISVTX) != 0;
    status.worldWritable = (st.st_mode & S_IWOTH) != 0;
    return status;
}

Status failedStatus(int error)
{
    Status status;
    status.error = error;
    return status;
}

// A short name for a file in folder that is not there yet.
QByteArray freshName(const QByteArray& folder)
{
    static std::mt19937 random{std::random_device{}()};
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name = folder + "/.jsd-";
    for (int i = 0; i < 6; ++i)
        name += kLetters[random() % (sizeof kLetters - 1)];
    return name;
}

} // namespace

QString decodeName(QByteArrayView bytes)
{
    QString name;
    name.reserve(bytes.size());
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    qsizetype at = 0;
    while (at < bytes.size()) {
        const int length = validSequence(data + at, bytes.size() - at);
        if (length == 0) {
            name += QChar(static_cast<char16_t>(kEscapeBase + data[at]));
            ++at;
            continue;
        }
        name += QString::fromUtf8(reinterpret_cast<const char*>(data + at), length);
        at += length;
    }
    return name;
}

QByteArray encodeName(const QString& name)
{
    QByteArray bytes;
    bytes.reserve(name.size());
    const qsizetype size = name.size();
    qsizetype from = 0; // the start of the run of plain text not yet encoded
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = name[i].unicode();
        if (c < 0xDC80 || c > 0xDCFF)
            continue;
        // A low surrogate after a high one is half of a real character.
        if (i > 0 && QChar::isHighSurrogate(name[i - 1].unicode()))
            continue;
        bytes += QStringView(name).mid(from, i - from).toUtf8();
        bytes += static_cast<char>(c - kEscapeBase);
        from = i + 1;
    }
    bytes += QStringView(name).mid(from).toUtf8();
    return bytes;
}

bool hasUndecodedBytes(const QString& name)
{
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name[i].unicode();
        if (c >= 0xDC80 && c <= 0xDCFF && (i == 0 || !QChar::isHighSurrogate(name[i - 1].unicode())))
            return true;
    }
    return false;
}

void ignoreFileSizeSignal()
{
    std::signal(SIGXFSZ, SIG_IGN);
}

std::int64_t fileSizeLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY)
        return -1;
    return static_cast<std::int64_t>(limit.rlim_cur);
}

Status status(const QString& path)
{
    struct stat st {};
    if (::stat(bytesOf(path).constData(), &st) != 0)
        return failedStatus(errno);
    return statusFrom(st);
}

Status linkStatus(const QString& path)
{
    struct stat st {};
    if (::lstat(bytesOf(path).constData(), &st) != 0)
        return failedStatus(errno);
    return statusFrom(st);
}

QString linkText(const QString& path, int& error)
{
    QByteArray text(4096, '\0');
    const ssize_t length =
        ::readlink(bytesOf(path).constData(), text.data(), static_cast<size_t>(text.size()));
    if (length < 0) {
        error = errno;
        return {};
    }
    if (length >= text.size()) {
        error = ENAMETOOLONG;
        return {};
    }
    error = 0;
    text.truncate(length);
    return decodeName(text);
}

std::uint32_t userId()
{
    return ::geteuid();
}

bool isAdministrator()
{
    return ::geteuid() == 0;
}

int writeAccess(const QString& path)
{
    return ::access(bytesOf(path).constData(), W_OK) == 0 ? 0 : errno;
}

File::File(const QString& path, Mode mode)
{
    int flags = O_CLOEXEC;
    switch (mode) {
    case Mode::Read: flags |= O_RDONLY; break;
    case Mode::Update: flags |= O_RDWR; break;
    case Mode::Into: flags |= O_WRONLY | O_NOCTTY; break;
    }
    m_handle = ::open(bytesOf(path).constData(), flags);
    if (m_handle < 0)
        m_error = errno;
}

File::~File()
{
    discard();
}

File::File(File&& other) noexcept
    : m_handle(std::exchange(other.m_handle, -1))
    , m_error(other.m_error)
    , m_unnamed(other.m_unnamed)
    , m_temporaryName(std::exchange(other.m_temporaryName, {}))
    , m_folder(std::move(other.m_folder))
{
}

File& File::operator=(File&& other) noexcept
{
    if (this != &other) {
        if (m_handle >= 0)
            ::close(m_handle);
        m_handle = std::exchange(other.m_handle, -1);
        m_error = other.m_error;
        m_unnamed = other.m_unnamed;
        m_temporaryName = std::exchange(other.m_temporaryName, {});
        m_folder = std::move(other.m_folder);
    }
    return *this;
}

File File::temporaryIn(const QString& folder)
{
    File file;
    file.m_folder = bytesOf(folder.isEmpty() ? QStringLiteral(".") : folder);
#ifdef O_TMPFILE
    // Linked in by its /proc name at the end: without /proc it could not be.
    if (::access("/proc/self/fd", X_OK) == 0) {
        file.m_handle = ::open(file.m_folder.constData(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
        if (file.m_handle >= 0) {
            file.m_unnamed = true;
            return file;
        }
    }
#endif
    QByteArray name = file.m_folder + "/.jsd-XXXXXX";
    file.m_handle = ::mkostemp(name.data(), O_CLOEXEC);
    if (file.m_handle < 0) {
        file.m_error = errno;
        return file;
    }
    file.m_temporaryName = name;
    return file;
}

std::int64_t File::readAt(char* data, std::int64_t size, std::int64_t offset)
{
    for (;;) {
        const ssize_t got = ::pread(m_handle, data, static_cast<size_t>(size), static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            m_error = errno;
        return got;
    }
}

namespace {

// Writes all of size bytes through writeSome(data, size, offset), again after
// a signal and on after a short write; 0 or the error.
template <typename WriteSome>
int writeAll(const char* data, std::int64_t size, std::int64_t offset, WriteSome writeSome)
{
    while (size > 0) {
        const ssize_t done = writeSome(data, static_cast<size_t>(size), static_cast<off_t>(offset));
        if (done < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (done == 0)
            return EIO;
        data += done;
        size -= done;
        offset += done;
    }
    return 0;
}

} // namespace

int File::writeAt(const char* data, std::int64_t size, std::int64_t offset)
{
    return writeAll(data, size, offset,
                    [this](const char* d, size_t n, off_t at) { return ::pwrite(m_handle, d, n, at); });
}

int File::write(const char* data, std::int64_t size)
{
    return writeAll(data, size, 0,
                    [this](const char* d, size_t n, off_t) { return ::write(m_handle, d, n); });
}

int File::sync()
{
    return ::fdatasync(m_handle) == 0 ? 0 : errno;
}

int File::truncate(std::int64_t size)
{
    return ::ftruncate(m_handle, static_cast<off_t>(size)) == 0 ? 0 : errno;
}

int File::reserve(std::int64_t size)
{
    const int error = ::posix_fallocate(m_handle, 0, static_cast<off_t>(size));
    return error == EOPNOTSUPP || error == EINVAL ? 0 : error;
}

bool File::takeOwnershipOf(const QString& like)
{
    struct stat old {};
    struct stat now {};
    if (::stat(bytesOf(like).constData(), &old) != 0 || ::fstat(m_handle, &now) != 0)
        return false;
    if (now.st_uid != old.st_uid || now.st_gid != old.st_gid) {
        if (::fchown(m_handle, now.st_uid == old.st_uid ? static_cast<uid_t>(-1) : old.st_uid,
                     now.st_gid == old.st_gid ? static_cast<gid_t>(-1) : old.st_gid) != 0)
            return false;
    }
    // After the owner: a change of owner clears the set-id bits.
    return ::fchmod(m_handle, old.st_mode & 07777) == 0;
}

void File::takeNewFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(m_handle, 0666 & ~mask);
}

int File::replace(const QString& target)
{
    const QByteArray to = bytesOf(target);
    if (!m_unnamed) {
        if (::rename(m_temporaryName.constData(), to.constData()) != 0)
            return errno;
        m_temporaryName.clear();
        return 0;
    }
    // An unnamed file cannot be renamed: it is linked under a short name,
    // which is renamed over the target at once.
    char self[64];
    std::snprintf(self, sizeof self, "/proc/self/fd/%d", m_handle);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QByteArray name = freshName(m_folder);
        if (::linkat(AT_FDCWD, self, AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) != 0) {
            if (errno == EEXIST)
                continue;
            return errno;
        }
        if (::rename(name.constData(), to.constData()) != 0) {
            const int error = errno;
            ::unlink(name.constData());
            return error;
        }
        return 0;
    }
    return EEXIST;
}

void File::discard()
{
    if (!m_temporaryName.isEmpty())
        ::unlink(m_temporaryName.constData());
    m_temporaryName.clear();
    if (m_handle >= 0)
        ::close(m_handle);
    m_handle = -1;
}

} // namespace files::platform
