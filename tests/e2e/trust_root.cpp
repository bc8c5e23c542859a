// trust_root: adds a certificate (DER file) to the machine's Root store of the Wine prefix it
// runs in, so that the program trusts the tests' own authority; nothing outside the prefix
// changes. Exit status 0 when the certificate is in the store.
#include <windows.h>
// after windows.h
#include <wincrypt.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: trust_root CERTIFICATE.der\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    const std::vector<unsigned char> der((std::istreambuf_iterator<char>(in)),
                                         std::istreambuf_iterator<char>());
    if (der.empty()) {
        std::fprintf(stderr, "trust_root: cannot read the certificate\n");
        return 1;
    }
    HCERTSTORE store =
        CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, CERT_SYSTEM_STORE_LOCAL_MACHINE, L"Root");
    if (!store) {
        std::fprintf(stderr, "trust_root: cannot open the Root store (%lu)\n", GetLastError());
        return 1;
    }
    const BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(),
                                                        static_cast<DWORD>(der.size()),
                                                        CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    if (!added) std::fprintf(stderr, "trust_root: not added (%lu)\n", GetLastError());
    CertCloseStore(store, 0);
    return added ? 0 : 1;
}
