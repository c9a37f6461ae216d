"use strict";
// The filters: pure functions from a filter state to the battles it keeps. A state
// holds only texts, under the keys the address's fragment uses; "" means no filter.
(function (viewer) {
    viewer.FILTER_KEYS = ["from", "to", "master", "deck", "opp", "oppmaster", "order", "q"];
    viewer.ORDERS = ["先攻", "後攻"];

    viewer.emptyFilter = function () {
        return Object.fromEntries(viewer.FILTER_KEYS.map((key) => [key, ""]));
    };

    // Whether `key` filters: a search of only spaces finds every battle, so it does not.
    viewer.isActive = function (filter, key) {
        return (key === "q" ? filter.q.trim() : filter[key]) !== "";
    };

    viewer.isFiltered = function (filter) {
        return viewer.FILTER_KEYS.some((key) => viewer.isActive(filter, key));
    };

    viewer.sameFilter = function (a, b) {
        return viewer.FILTER_KEYS.every((key) => a[key] === b[key]);
    };

    // The lower-cased texts the search looks in, made when first searched.
    function searchText(b) {
        b.searchText ??= [b.file, b.me.deck, b.them.name, b.them.deck].join("\n").toLowerCase();
        return b.searchText;
    }

    // The battles `filter` keeps, in their order.
    viewer.applyFilter = function (battles, filter) {
        if (!viewer.isFiltered(filter)) return battles.slice();
        const q = filter.q.trim().toLowerCase();
        return battles.filter((b) =>
            (filter.from === "" || (b.date !== "" && b.date >= filter.from)) &&
            (filter.to === "" || (b.date !== "" && b.date <= filter.to)) &&
            (filter.master === "" || b.me.master === filter.master) &&
            (filter.deck === "" || b.me.deck === filter.deck) &&
            (filter.opp === "" || b.them.name === filter.opp) &&
            (filter.oppmaster === "" || b.them.master === filter.oppmaster) &&
            (filter.order === "" || b.order === filter.order) &&
            (q === "" || searchText(b).includes(q)));
    };

    // A local date as "YYYY-MM-DD".
    viewer.isoDate = function (date) {
        const two = (n) => String(n).padStart(2, "0");
        return `${date.getFullYear()}-${two(date.getMonth() + 1)}-${two(date.getDate())}`;
    };

    // The period of the last `days` days up to and including `today`.
    viewer.lastDays = function (today, days) {
        const from = new Date(today.getFullYear(), today.getMonth(), today.getDate() - (days - 1));
        return { from: viewer.isoDate(from), to: viewer.isoDate(today) };
    };
})(globalThis.viewer ??= {});
