#include "report/xls_file.h"

#include <gsf/gsf.h>

#include <memory>
#include <mutex>

#include "report/biff8_patcher.h"
#include "report/biff8_reader.h"
#include "report/biff8_writer.h"

namespace orb {

namespace {

void InitGsf() {
    static std::once_flag once;
    std::call_once(once, [] { gsf_init(); });
}

struct Unref {
    void operator()(void* p) const {
        if (p) g_object_unref(p);
    }
};
template <class T>
using GPtr = std::unique_ptr<T, Unref>;

// The compound-document streams that are kept besides the workbook: the
// document properties (title, author...).
bool IsKeptStream(std::string_view name) {
    return name == "\005SummaryInformation" || name == "\005DocumentSummaryInformation";
}

bool WriteChild(GsfOutfile* ole, const char* name, std::string_view data) {
    GPtr<GsfOutput> child(gsf_outfile_new_child(ole, name, FALSE));
    if (!child) return false;
    const bool ok = gsf_output_write(child.get(), data.size(), reinterpret_cast<const guint8*>(data.data()));
    return gsf_output_close(child.get()) && ok;
}

// `limit`: no stream of a file is larger than the file itself, whatever its
// directory declares.
bool ReadStream(GsfInput* in, std::string& out, std::size_t limit) {
    const gsf_off_t size = gsf_input_size(in);
    if (size < 0 || static_cast<uint64_t>(size) > limit) return false;
    out.resize(static_cast<std::size_t>(size));
    return size == 0 || gsf_input_read(in, out.size(), reinterpret_cast<guint8*>(out.data())) != nullptr;
}

// The compound document in `bytes` and its workbook stream.
struct OpenedXls {
    GPtr<GsfInput> in;
    GPtr<GsfInfile> ole;
    std::string stream;
};

bool OpenXls(std::string_view bytes, OpenedXls& x, std::string* error) {
    InitGsf();
    auto fail = [error](const char* why) {
        if (error) *error = why;
        return false;
    };
    x.in.reset(gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()),
                                    static_cast<gsf_off_t>(bytes.size()), FALSE));
    GError* gerr = nullptr;
    x.ole.reset(gsf_infile_msole_new(x.in.get(), &gerr));
    if (gerr) g_error_free(gerr);
    if (!x.ole) return fail("not an Excel 97-2003 file (no compound document)");
    GPtr<GsfInput> wb(gsf_infile_child_by_name(x.ole.get(), "Workbook"));
    if (!wb) {
        GPtr<GsfInput> old(gsf_infile_child_by_name(x.ole.get(), "Book"));
        return fail(old ? "a workbook of Excel 5.0/95 or older, which is not supported"
                        : "no workbook stream in the file");
    }
    if (!ReadStream(wb.get(), x.stream, bytes.size())) return fail("the workbook stream cannot be read");
    return true;
}

}  // namespace

namespace {

// Writes the compound document of `book` into `sink` and closes it.
bool WriteOle(GsfOutput* sink, const XlsWorkbook& book) {
    const std::string stream = EncodeBiff8Workbook(book);
    GPtr<GsfOutfile> ole(gsf_outfile_msole_new(sink));
    // The class of an Excel workbook, as readers expect it on the root entry.
    static const guint8 kExcelClass[16] = {0x20, 0x08, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                           0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(ole.get()), kExcelClass);
    bool ok = WriteChild(ole.get(), "Workbook", stream);
    for (const auto& [name, data] : book.otherStreams) ok = WriteChild(ole.get(), name.c_str(), data) && ok;
    ok = gsf_output_close(GSF_OUTPUT(ole.get())) && ok;
    if (!gsf_output_is_closed(sink)) ok = gsf_output_close(sink) && ok;
    return ok;
}

}  // namespace

int WriteXlsFile(const XlsWorkbook& book, const std::function<int(std::string_view)>& put) {
    InitGsf();
    GPtr<GsfOutput> sink(gsf_output_memory_new());
    if (!WriteOle(sink.get(), book)) return -1;
    const auto* bytes = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    return put({reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(gsf_output_size(sink.get()))});
}

std::string EncodeXlsFile(const XlsWorkbook& book) {
    std::string out;
    WriteXlsFile(book, [&out](std::string_view bytes) {
        out.assign(bytes);
        return 0;
    });
    return out;
}

bool DecodeXlsFile(std::string_view bytes, XlsWorkbook& book, std::string* error) {
    OpenedXls x;
    if (!OpenXls(bytes, x, error)) return false;
    GsfInfile* ole = x.ole.get();
    const std::string& stream = x.stream;
    XlsWorkbook result;
    if (!DecodeBiff8Workbook(stream, result, error)) return false;
    for (int i = 0; i < gsf_infile_num_children(ole); ++i) {
        const char* name = gsf_infile_name_by_index(ole, i);
        if (!name || !IsKeptStream(name)) continue;
        GPtr<GsfInput> child(gsf_infile_child_by_index(ole, i));
        std::string data;
        if (child && ReadStream(child.get(), data, bytes.size()))
            result.otherStreams.emplace_back(name, std::move(data));
    }
    book = std::move(result);
    return true;
}

namespace {

class OleCopy {
public:
    OleCopy(std::size_t limit, std::string_view workbook) : limit_(limit), workbook_(workbook) {}

    // Copies the children of `in` into `out`; at the top level the workbook
    // stream is replaced.
    bool Storage(GsfInfile* in, GsfOutfile* out, bool top) {
        if (++depth_ > 64) return false;
        bool ok = true;
        for (int i = 0; ok && i < gsf_infile_num_children(in); ++i) {
            const char* name = gsf_infile_name_by_index(in, i);
            GPtr<GsfInput> child(gsf_infile_child_by_index(in, i));
            if (!name || !child) return false;
            ok = Child(GSF_INFILE(child.get()), name, out, top && std::string_view(name) == "Workbook");
        }
        --depth_;
        return ok;
    }

private:
    bool Child(GsfInfile* child, const char* name, GsfOutfile* out, bool workbook) {
        const bool dir = gsf_infile_num_children(child) >= 0;
        GPtr<GsfOutput> sink(gsf_outfile_new_child(out, name, dir ? TRUE : FALSE));
        if (!sink) return false;
        bool ok = true;
        if (dir) {
            guint8 clsid[16];
            if (gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(child), clsid))
                gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(sink.get()), clsid);
            ok = Storage(child, GSF_OUTFILE(sink.get()), false);
        } else {
            std::string data;
            ok = workbook || ReadStream(GSF_INPUT(child), data, limit_);
            const std::string_view bytes = workbook ? workbook_ : std::string_view(data);
            ok = ok &&
                 gsf_output_write(sink.get(), bytes.size(), reinterpret_cast<const guint8*>(bytes.data()));
        }
        return gsf_output_close(sink.get()) && ok;
    }

    std::size_t limit_;
    std::string_view workbook_;
    int depth_ = 0;
};

}  // namespace

bool PatchXlsFile(std::string_view bytes, const XlsRows& rows, std::string& out, std::string* error) {
    OpenedXls x;
    if (!OpenXls(bytes, x, error)) return false;
    GsfInfile* ole = x.ole.get();
    const std::string& stream = x.stream;
    std::string patched;
    if (!PatchBiff8Workbook(stream, rows, patched, error)) return false;

    GPtr<GsfOutput> sink(gsf_output_memory_new());
    GPtr<GsfOutfile> copy(gsf_outfile_msole_new(sink.get()));
    guint8 clsid[16];
    if (gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(ole), clsid))
        gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(copy.get()), clsid);
    bool ok = OleCopy(bytes.size(), patched).Storage(ole, copy.get(), true);
    ok = gsf_output_close(GSF_OUTPUT(copy.get())) && ok;
    if (!gsf_output_is_closed(sink.get())) ok = gsf_output_close(sink.get()) && ok;
    if (!ok) {
        if (error) *error = "the compound document cannot be copied";
        return false;
    }
    const auto* data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.get()));
    out.assign(reinterpret_cast<const char*>(data), static_cast<std::size_t>(gsf_output_size(sink.get())));
    return true;
}

}  // namespace orb
