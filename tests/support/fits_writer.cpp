#include "support/fits_writer.h"

#include <fitsio.h>

#include <filesystem>
#include <stdexcept>

namespace corvane::test {

namespace {

void Check(int status, const char* what) {
    if (status != 0) {
        char text[FLEN_STATUS];
        fits_get_errstatus(status, text);
        throw std::runtime_error(std::string(what) + ": " + text);
    }
}

}  // namespace

FitsKey FitsKey::Str(std::string name, std::string value, std::string comment) {
    return {Type::String, std::move(name), std::move(value), 0, 0, std::move(comment)};
}
FitsKey FitsKey::Dbl(std::string name, double value, std::string comment) {
    return {Type::Double, std::move(name), "", value, 0, std::move(comment)};
}
FitsKey FitsKey::Int(std::string name, long value, std::string comment) {
    return {Type::Long, std::move(name), "", 0, value, std::move(comment)};
}

void WriteFits(const std::string& path, const FitsImage& image) { WriteFits(path, image, {}); }

void WriteFits(const std::string& path, const FitsImage& image,
               const std::vector<FitsKey>& keys) {
    std::filesystem::remove(path);
    fitsfile* f = nullptr;
    int status = 0;
    fits_create_file(&f, path.c_str(), &status);
    Check(status, "create");
    long axes[2] = {image.width, image.height};
    fits_create_img(f, image.bitpix, 2, axes, &status);
    for (const FitsKey& k : keys) {
        const char* comment = k.comment.empty() ? nullptr : k.comment.c_str();
        switch (k.type) {
            case FitsKey::Type::String:
                fits_update_key(f, TSTRING, k.name.c_str(), const_cast<char*>(k.text.c_str()),
                                comment, &status);
                break;
            case FitsKey::Type::Double: {
                double v = k.number;
                fits_update_key(f, TDOUBLE, k.name.c_str(), &v, comment, &status);
                break;
            }
            case FitsKey::Type::Long:
            case FitsKey::Type::Logical: {
                long v = k.integer;
                fits_update_key(f, TLONG, k.name.c_str(), &v, comment, &status);
                break;
            }
        }
    }
    for (const std::string& card : image.cards) {
        fits_write_record(f, card.c_str(), &status);
    }
    Check(status, "header");
    // Store the values exactly as given, whatever BZERO/BSCALE the cards say.
    fits_set_bscale(f, 1.0, 0.0, &status);
    Check(status, "scaling");

    std::size_t n = static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height);
    std::vector<double> values = image.values;
    values.resize(n, 0.0);
    switch (image.bitpix) {
        case 8: {
            std::vector<unsigned char> v(values.begin(), values.end());
            fits_write_img(f, TBYTE, 1, static_cast<LONGLONG>(n), v.data(), &status);
            break;
        }
        case 16: {
            std::vector<short> v(values.begin(), values.end());
            fits_write_img(f, TSHORT, 1, static_cast<LONGLONG>(n), v.data(), &status);
            break;
        }
        case 32: {
            std::vector<int> v(values.begin(), values.end());
            fits_write_img(f, TINT, 1, static_cast<LONGLONG>(n), v.data(), &status);
            break;
        }
        case -32: {
            std::vector<float> v(values.begin(), values.end());
            fits_write_img(f, TFLOAT, 1, static_cast<LONGLONG>(n), v.data(), &status);
            break;
        }
        default:
            throw std::runtime_error("unsupported bitpix");
    }
    Check(status, "data");
    fits_close_file(f, &status);
    Check(status, "close");
}

}  // namespace corvane::test
