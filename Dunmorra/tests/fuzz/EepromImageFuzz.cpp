// Fuzz target: an EEPROM image file of any bytes, loaded with LoadFromFile and decoded as the
// station decodes a card's image: product type, tuner model, the Kesh tuner, the check against the
// image the decoded pair makes, and the text of the bytes. The file loads as exactly its bytes;
// whatever a decode answers, the image made from a decoded pair is 256 bytes.
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "dunmorra/EppromWriter.h"

namespace {

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

CEppromWriter& Writer() {
    static auto* writer = new CEppromWriter;
    return *writer;
}

// The file each input is written to: one in memory, opened again by its /proc path, so no run
// leaves a file behind.
int ImageFile() {
    static const int fd = memfd_create("eeprom-image", MFD_CLOEXEC);
    return fd;
}

std::string ImagePath() { return "/proc/self/fd/" + std::to_string(ImageFile()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (ImageFile() < 0 || ftruncate(ImageFile(), 0) != 0) return 0;
    if (size && pwrite(ImageFile(), data, size, 0) != ssize_t(size)) return 0;
    CEppromWriter& writer = Writer();
    CMemData image;
    const bool loaded = CEppromWriter::LoadFromFile(ImagePath().c_str(), image);
    Check(loaded == (size > 0));
    if (!loaded) return 0;
    Check(image.GetDataSize() == int(size) && std::memcmp(image.GetData(), data, size) == 0);

    const EMProductType type = writer.GetProductTypeFromData(image);
    const TUNER_MODEL model = writer.GetTunerModelFromData(image, type);
    writer.GetKeshTunerModelFromData(image, type);
    writer.IsEppromDataWritten(image.GetData(), image.GetDataSize());
    writer.IsIncludeStr(image.GetData(), image.GetDataSize(), "Conexant");
    CVectorPairWord differences;
    writer.CheckEppromData(image.GetData(), image.GetDataSize(), &differences);
    CString text = writer.FormatData(image.GetData(), image.GetDataSize());
    Check(text.GetLength() >= 5 * image.GetDataSize());

    CMemData made;
    if (type != PRODUCT_UNKNOWN && model != MODEL_UNKNOWN && writer.MakeEppromData(type, model, made)) {
        Check(made.GetDataSize() == 256);
        CVectorPairWord none;
        writer.CheckEppromData(made.GetData(), made.GetDataSize(), &none);
    }
    return 0;
}
