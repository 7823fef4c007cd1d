#include "ThrowSite.h"

#include <QCoreApplication>
#include <array>
#include <cstdlib>
#include <cxxabi.h>
#include <dlfcn.h>
#include <link.h>

namespace {

struct Record {
    void *object = nullptr;
    const std::type_info *type = nullptr;
    void *address = nullptr;
};

// The last throws of this thread; a rethrow does not pass here, so the original site stays.
constexpr size_t RecordCount = 16;
thread_local std::array<Record, RecordCount> t_records;
thread_local size_t t_next = 0;

using CxaThrow = void (*)(void *, std::type_info *, void (*)(void *));

CxaThrow realThrow()
{
    static CxaThrow fn = reinterpret_cast<CxaThrow>(dlsym(RTLD_NEXT, "__cxa_throw"));
    return fn;
}

} // namespace

namespace __cxxabiv1 {
extern "C" void __cxa_throw(void *object, std::type_info *type, void(_GLIBCXX_CDTOR_CALLABI *destroy)(void *))
{
    t_records[t_next % RecordCount] = Record{object, type, __builtin_return_address(0)};
    ++t_next;
    CxaThrow fn = realThrow();
    if (!fn)
        std::abort();
    fn(object, type, reinterpret_cast<void (*)(void *)>(destroy));
    __builtin_unreachable();
}
} // namespace __cxxabiv1

QString TypeName(const std::type_info *type)
{
    if (!type)
        return {};
    int status = 0;
    char *name = abi::__cxa_demangle(type->name(), nullptr, nullptr, &status);
    const QString out = QString::fromUtf8(status == 0 && name ? name : type->name());
    std::free(name);
    return out;
}

ThrowSite LookupThrowSite(const void *object)
{
    if (t_next == 0)
        return {};
    Record found = t_records[(t_next - 1) % RecordCount];
    for (size_t i = 0; i < std::min(t_next, RecordCount); ++i) {
        const Record &r = t_records[(t_next - 1 - i) % RecordCount];
        if (object && r.object == object) {
            found = r;
            break;
        }
    }
    ThrowSite site;
    site.type = found.type;
    site.address = quintptr(found.address);
    Dl_info info{};
    if (found.address && dladdr(found.address, &info) && info.dli_fbase) {
        site.offset = site.address - quintptr(info.dli_fbase);
        // The main program has no name of its own in the loader's list.
        void *mainBase = nullptr;
        dl_iterate_phdr(
            [](dl_phdr_info *phdr, size_t, void *data) {
                *static_cast<void **>(data) = reinterpret_cast<void *>(phdr->dlpi_addr);
                return 1; // the first entry is the main program
            },
            &mainBase);
        const bool isMain = info.dli_fbase == mainBase || !info.dli_fname || !*info.dli_fname;
        site.module = isMain && QCoreApplication::instance() ? QCoreApplication::applicationFilePath()
                                                             : QString::fromLocal8Bit(info.dli_fname);
    }
    return site;
}
