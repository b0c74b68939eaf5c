// Pieces of workbook files for the template tests: the streams of a compound
// document, the records of a BIFF8 stream and the parts of a zip package,
// read with libgsf and libzip directly.
#pragma once

#include <gsf/gsf.h>
#include <zip.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace orb::test {

inline void CollectStreams(GsfInfile* dir, const std::string& prefix,
                           std::map<std::string, std::string>& out) {
    for (int i = 0; i < gsf_infile_num_children(dir); ++i) {
        GsfInput* child = gsf_infile_child_by_index(dir, i);
        const std::string name = prefix + gsf_infile_name_by_index(dir, i);
        if (gsf_infile_num_children(GSF_INFILE(child)) >= 0) {
            CollectStreams(GSF_INFILE(child), name + "/", out);
        } else {
            std::string data(static_cast<std::size_t>(gsf_input_size(child)), '\0');
            if (!data.empty()) gsf_input_read(child, data.size(), reinterpret_cast<guint8*>(data.data()));
            out[name] = data;
        }
        g_object_unref(child);
    }
}

// Every stream of a compound document by its path ("Storage/Stream").
inline std::map<std::string, std::string> OleStreams(const std::string& bytes) {
    gsf_init();
    std::map<std::string, std::string> out;
    GsfInput* in = gsf_input_memory_new(reinterpret_cast<const guint8*>(bytes.data()),
                                        static_cast<gsf_off_t>(bytes.size()), FALSE);
    GsfInfile* ole = gsf_infile_msole_new(in, nullptr);
    if (ole) CollectStreams(ole, "", out);
    if (ole) g_object_unref(ole);
    g_object_unref(in);
    return out;
}

// The compound document of `streams` (paths with at most one storage level).
inline std::string MakeOle(const std::map<std::string, std::string>& streams) {
    gsf_init();
    GsfOutput* sink = gsf_output_memory_new();
    GsfOutfile* ole = gsf_outfile_msole_new(sink);
    std::map<std::string, GsfOutfile*> dirs;
    for (const auto& [path, data] : streams) {
        GsfOutfile* parent = ole;
        std::string name = path;
        if (const std::size_t slash = path.find('/'); slash != std::string::npos) {
            GsfOutfile*& d = dirs[path.substr(0, slash)];
            if (!d) d = GSF_OUTFILE(gsf_outfile_new_child(ole, path.substr(0, slash).c_str(), TRUE));
            parent = d;
            name = path.substr(slash + 1);
        }
        GsfOutput* child = gsf_outfile_new_child(parent, name.c_str(), FALSE);
        gsf_output_write(child, data.size(), reinterpret_cast<const guint8*>(data.data()));
        gsf_output_close(child);
        g_object_unref(child);
    }
    for (auto& [name, d] : dirs) {
        gsf_output_close(GSF_OUTPUT(d));
        g_object_unref(d);
    }
    gsf_output_close(GSF_OUTPUT(ole));
    g_object_unref(ole);
    const std::string bytes(
        reinterpret_cast<const char*>(gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink))),
        static_cast<std::size_t>(gsf_output_size(sink)));
    g_object_unref(sink);
    return bytes;
}

struct BiffRecord {
    uint16_t type;
    std::string bytes;  // header and payload
};

inline std::vector<BiffRecord> BiffRecords(const std::string& s) {
    std::vector<BiffRecord> out;
    for (std::size_t pos = 0; pos + 4 <= s.size();) {
        const std::size_t len = static_cast<uint8_t>(s[pos + 2]) | static_cast<uint8_t>(s[pos + 3]) << 8;
        out.push_back(
            {static_cast<uint16_t>(static_cast<uint8_t>(s[pos]) | static_cast<uint8_t>(s[pos + 1]) << 8),
             s.substr(pos, 4 + len)});
        pos += 4 + len;
    }
    return out;
}

// Every member of a zip package by name, inflated.
inline std::map<std::string, std::string> ZipParts(const std::string& bytes) {
    std::map<std::string, std::string> out;
    zip_error_t err;
    zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &err);
    zip_t* z = zip_open_from_source(src, ZIP_RDONLY, &err);
    if (!z) {
        zip_source_free(src);
        return out;
    }
    for (zip_int64_t i = 0; i < zip_get_num_entries(z, 0); ++i) {
        zip_stat_t st;
        zip_stat_index(z, static_cast<zip_uint64_t>(i), 0, &st);
        std::string data(st.size, '\0');
        zip_file_t* f = zip_fopen_index(z, static_cast<zip_uint64_t>(i), 0);
        if (f && !data.empty()) zip_fread(f, data.data(), data.size());
        if (f) zip_fclose(f);
        out[st.name] = data;
    }
    zip_discard(z);
    return out;
}

}  // namespace orb::test
