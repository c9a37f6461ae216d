"use strict";
// The filter state in the address's fragment: key=value pairs joined by "&",
// values percent-encoded UTF-8, keys in the order of FILTER_KEYS, empty ones left out.
(function (viewer) {
    function isDay(text) {
        if (!/^\d{4}-\d{2}-\d{2}$/.test(text)) return false;
        const [y, m, d] = text.split("-").map(Number);
        const day = new Date(Date.UTC(y, m - 1, d));
        return day.getUTCFullYear() === y && day.getUTCMonth() === m - 1 && day.getUTCDate() === d;
    }

    viewer.toFragment = function (filter) {
        return viewer.FILTER_KEYS.filter((key) => filter[key] !== "")
            .map((key) => `${key}=${encodeURIComponent(filter[key])}`)
            .join("&");
    };

    // The state a fragment ("#..." or without the "#") names. Unknown keys, pairs
    // without "=" and values that are not valid percent-encoded UTF-8 are ignored;
    // a date that is not a real YYYY-MM-DD day and an order other than 先攻 or 後攻
    // too: the date field cannot show an impossible day, so it would filter unseen.
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
            if ((key === "from" || key === "to") && !isDay(value)) continue;
            if (key === "order" && !viewer.ORDERS.includes(value)) continue;
            filter[key] = value;
        }
        return filter;
    };
})(globalThis.viewer ??= {});
