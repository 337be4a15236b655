// The import of a hostile Bak.zw: any bytes, any length.
#include "fuzz/transfer_import_fuzz.h"
#include "transfer/TransferFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ImportTransferFileForFuzzing(kFingerprintFile, data, size);
    return 0;
}
