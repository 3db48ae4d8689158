#include "unit/transfer_header.h"

TransferHeader MakeTransferHeader(bool isRead) {
    TransferHeader header = {};
    header.bytes[0] = 'B';
    header.bytes[1] = 'S';
    header.bytes[6] = 24; // fixed value, little-endian
    header.bytes[8] = isRead ? 1 : 0;
    header.bytes[17] = 32; // every exchange carries 32 data bytes
    return header;
}
