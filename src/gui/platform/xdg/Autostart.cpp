#include "platform/Autostart.h"

#include "ProductInfo.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// The XDG autostart folder: a desktop entry there is started by the desktop
// when the user logs in.
namespace Autostart {

namespace {
// An Exec argument by the Desktop Entry rules: in double quotes, with ", `, $
// and \ escaped, and % doubled so that it is no field code.
QString quotedArgument(const QString& argument) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        else if (c == u'%')
            quoted += u'%';
        quoted += c;
    }
    return quoted + u'"';
}

// The escapes of a string value in the entry file itself.
QString escapedValue(const QString& value) {
    QString escaped;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'\\':
            escaped += QStringLiteral("\\\\");
            break;
        case u'\n':
            escaped += QStringLiteral("\\n");
            break;
        case u'\r':
            escaped += QStringLiteral("\\r");
            break;
        case u'\t':
            escaped += QStringLiteral("\\t");
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

// Creates every missing folder of path; the errno of the step that failed.
int makeFolders(const QByteArray& path) {
    for (qsizetype end = path.indexOf('/', 1);; end = path.indexOf('/', end + 1)) {
        const QByteArray part = end < 0 ? path : path.left(end);
        if (::mkdir(part.constData(), 0755) != 0) {
            const int error = errno;
            struct stat info {};
            if (error != EEXIST)
                return error;
            if (::stat(part.constData(), &info) != 0 || !S_ISDIR(info.st_mode))
                return ENOTDIR;
        }
        if (end < 0)
            return 0;
    }
}

// Writes the whole file beside its place and renames it there, so an entry is
// either the old one or the new one; the errno of the step that failed.
int writeWhole(const QByteArray& path, const QByteArray& bytes) {
    QByteArray temporary = path + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return errno;
    int error = 0;
    for (qsizetype done = 0; done < bytes.size() && !error;) {
        const ssize_t n = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (n > 0)
            done += n;
        else if (n < 0 && errno != EINTR)
            error = errno;
    }
    if (!error && ::fchmod(fd, 0644) != 0)
        error = errno;
    if (::close(fd) != 0 && !error)
        error = errno;
    if (!error && ::rename(temporary.constData(), path.constData()) != 0)
        error = errno;
    if (error)
        ::unlink(temporary.constData());
    return error;
}
} // namespace

bool supported() {
    return true;
}

QString startupFolder() {
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return config.isEmpty() ? QString() : config + QStringLiteral("/autostart");
}

QString linkPath(const QString& folder, const QString& linkName) {
    return QDir(folder).filePath(linkName + QStringLiteral(".desktop"));
}

LinkOutcome createShellLink(const QString& folder, const QString& linkName, const QString& target,
                            const QString& arguments) {
    if (folder.isEmpty())
        return {false, ENOENT};
    const QString exec =
        quotedArgument(target) + (arguments.isEmpty() ? QString() : u' ' + arguments);
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=%1\n"
                                         "Icon=vokabo\n"
                                         "Exec=%2\n"
                                         "Terminal=false\n")
                              .arg(escapedValue(ProductInfo::Name), escapedValue(exec));
    if (const int error = makeFolders(QFile::encodeName(folder)))
        return {false, error};
    const int error = writeWhole(QFile::encodeName(linkPath(folder, linkName)), entry.toUtf8());
    return {error == 0, error};
}

} // namespace Autostart
