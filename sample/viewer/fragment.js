"use strict";
// The filter state in the address's fragment: key=value pairs joined by "&",
// values percent-encoded UTF-8, keys in the order of FILTER_KEYS, empty ones left out.
(function (viewer) {
    viewer.toFragment = function (filter) {
        return viewer.FILTER_KEYS.filter((key) => filter[key] !== "")
            .map((key) => `${key}=${encodeURIComponent(filter[key])}`)
            .join("&");
    };

    // The state a fragment ("#..." or without the "#") names. Unknown keys, pairs
    // without "=" and values that are not valid percent-encoded UTF-8 are ignored;
    // a date that is not YYYY-MM-DD and an order other than 先攻 or 後攻 too.
    viewer.fromFragment = function (fragment) {
        const filter = viewer.emptyFilter();
        for (const pair of fragment.replace(/^#/, "").split("&")) {
            const at = pair.indexOf("=");
            const key = pair.slice(0, at);
            if (at < 0 || !viewer.FILTER_KEYS.includes(key)) continue;
            let value;
            try {
                value = decodeURIComponent(pair.slice(at + 1));
            } catch {
                continue;
            }
            if ((key === "from" || key === "to") && !/^\d{4}-\d{2}-\d{2}$/.test(value)) continue;
            if (key === "order" && !viewer.ORDERS.includes(value)) continue;
            filter[key] = value;
        }
        return filter;
    };
})(globalThis.viewer ??= {});
