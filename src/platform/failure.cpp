#include "platform/failure.h"

#include <cerrno>
#include <new>

namespace mirudana {

// The two tables below read best one entry a line.
// clang-format off
std::string failureDescription(std::int16_t number) {
    switch (number) {
        case failure::kInvalidCall: return "プロシージャの呼び出し、または引数が不正です。";
        case failure::kOverflow: return "オーバーフローしました。";
        case failure::kOutOfMemory: return "メモリが不足しています。";
        case failure::kSubscriptOutOfRange: return "インデックスが有効範囲にありません。";
        case failure::kTypeMismatch: return "型が一致しません。";
        case failure::kBadFileName: return "ファイル名または番号が不正です。";
        case failure::kFileNotFound: return "ファイルが見つかりません。";
        case failure::kBadFileMode: return "ファイル モードが不正です。";
        case failure::kFileAlreadyOpen: return "ファイルは既に開かれています。";
        case failure::kDeviceIO: return "デバイス I/O エラーです。";
        case failure::kFileAlreadyExists: return "既に同名のファイルが存在しています。";
        case failure::kDiskFull: return "ディスクの空き容量が不足しています。";
        case failure::kInputPastEnd: return "ファイルにこれ以上データがありません。";
        case failure::kTooManyFiles: return "ファイルが多すぎます。";
        case failure::kDeviceUnavailable: return "デバイスが準備されていません。";
        case failure::kPermissionDenied: return "書き込みできません。";
        case failure::kDiskNotReady: return "ディスクが準備されていません。";
        case failure::kPathFileAccess: return "パス名が無効です。";
        case failure::kPathNotFound: return "パスが見つかりません。";
        case failure::kComponentMissing:
            return "コンポーネントまたはその依存関係の 1 つが正しく登録されていません。"
                   "ファイルが見つからないか、無効です。";
        case failure::kCancelled: return "キャンセルが選択されました。";
        default: return "アプリケーション定義またはオブジェクト定義のエラーです。";
    }
}

std::int16_t failureFromErrno(int err, FileAccess access) {
    switch (err) {
        case ENOENT: return access == FileAccess::Reading ? failure::kFileNotFound : failure::kPathNotFound;
        case ENOTDIR: return failure::kPathNotFound;
        case EACCES:
        case EPERM:
        case EROFS: return failure::kPermissionDenied;
        case EISDIR:
        case ELOOP: return failure::kPathFileAccess;
        case ENOSPC:
#ifdef EDQUOT  // not every C library has it
        case EDQUOT:
#endif
            return failure::kDiskFull;
        case EMFILE:
        case ENFILE: return failure::kTooManyFiles;
        case ENAMETOOLONG:
        case EINVAL:
        case EILSEQ: return failure::kBadFileName;
        case EEXIST: return failure::kFileAlreadyExists;
        case EBUSY:
        case ETXTBSY: return failure::kFileAlreadyOpen;
        case ENOMEM: return failure::kOutOfMemory;
        case ENXIO:
        case ENODEV: return failure::kDeviceUnavailable;
        case EIO:
        default: return failure::kDeviceIO;
    }
}

std::string errnoDescription(int err, FileAccess access) {
    const bool reading = access == FileAccess::Reading;
    switch (err) {
        case EACCES:
        case EPERM: return reading ? "読み取りが許可されていません。" : "書き込みが許可されていません。";
        case EROFS: return reading ? "読み取りできません。" : "読み取り専用の場所には書き込めません。";
        case EISDIR: return reading ? "フォルダーはファイルとして読めません。" : "フォルダーには書き込めません。";
        case ENOENT: return reading ? "ファイルが見つかりません。" : "書き込み先のフォルダーが見つかりません。";
        case ELOOP: return "シンボリックリンクが循環しています。";
        case ENODEV: return reading ? "デバイスが準備されていません。" : "デバイスなど、ファイルでないものには書き込めません。";
        case EBUSY: return reading ? "ほかのプログラムがこのファイルを開いています。" : "ほかの処理がこのファイルに書き込んでいます。";
        case ETXTBSY: return reading ? "ほかのプログラムがこのファイルを開いています。" : "ほかのプログラムがこのファイルを開いています。閉じてからやり直してください。";
        case EIO: return reading ? "読み取り中にデバイス I/O エラーが起きました。" : "書き込み中にデバイス I/O エラーが起きました。";
        case EPIPE: return reading ? failureDescription(failure::kDeviceIO) : "受け取る側のプログラムが先に終わりました。";
        default: return failureDescription(failureFromErrno(err, access));
    }
}
// clang-format on

Failure::Failure(std::int16_t number)
    : std::runtime_error(failureDescription(number)), number_(number) {}

Failure::Failure(std::int16_t number, const std::string& description)
    : std::runtime_error(description), number_(number) {}

void throwErrno(int err, FileAccess access) {
    throw Failure(failureFromErrno(err, access), errnoDescription(err, access));
}

std::int16_t failureNumberOf(const std::exception& e) noexcept {
    if (const auto* f = dynamic_cast<const Failure*>(&e)) return f->number();
    if (dynamic_cast<const std::bad_alloc*>(&e)) return failure::kOutOfMemory;
    return failure::kInternalError;  // shown with the generic description
}

}  // namespace mirudana
