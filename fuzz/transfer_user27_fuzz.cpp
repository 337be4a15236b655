// The import of a hostile Bak.yg: any bytes, any length.
#include "fuzz/transfer_import_fuzz.h"
#include "transfer/TransferFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ImportTransferFileForFuzzing(kUserFile27, data, size);
    return 0;
}
