// frissites-tool: what an administrator needs to publish an update.
//   frissites-tool checksum FILE...      size and checksum text of each file, as the manifests want them
//   frissites-tool password TEXT         scrambled value of a database password for "jelszo"
//   frissites-tool decode-password VALUE the password a scrambled value stands for

#include "Checksum.h"
#include "Password.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

namespace {

int usage(QTextStream &err)
{
    err << "usage: frissites-tool checksum FILE...\n"
           "       frissites-tool password TEXT\n"
           "       frissites-tool decode-password VALUE\n";
    return 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage(err);
    const QString command = args.first();
    if (command == u"checksum" && args.size() >= 2) {
        int rc = 0;
        for (const QString &file : args.mid(1)) {
            if (!QFileInfo(file).isFile()) {
                err << file << ": no such file\n";
                rc = 1;
                continue;
            }
            // size, checksum text, name: the first two go to "Exe meret"/"fajlmeret<n>" and
            // "Exe checksum"/"checksum<n>".
            out << frissites::FileSize(file) << ' ' << frissites::ChecksumText(file) << ' ' << file << '\n';
        }
        return rc;
    }
    if (command == u"password" && args.size() == 2) {
        if (args[1].contains(u' ')) {
            err << "a password with a blank cannot be scrambled: the blank ends it\n";
            return 1;
        }
        out << frissites::EncodePassword(args[1]) << '\n';
        return 0;
    }
    if (command == u"decode-password" && args.size() == 2) {
        out << frissites::DecodePassword(args[1]) << '\n';
        return 0;
    }
    return usage(err);
}
